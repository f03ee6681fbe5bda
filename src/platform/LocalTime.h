#pragma once
// The local time of day as the platform's clock reads it, and what every locale clock makes of it.

#include <string>

namespace updater {

struct LocalTime {
  int hour = 0;
  int minute = 0;
  int second = 0;
  double fraction = 0;  // of the second, 0 to below 1

  double SecondsSinceMidnight() const { return hour * 3600.0 + minute * 60.0 + second + fraction; }
};

// The date, a blank and the time, as the locale writes them; at exactly midnight the date alone.
inline std::string DateTimeText(const LocalTime& now, const std::string& date, const std::string& time) {
  return now.hour == 0 && now.minute == 0 && now.second == 0 ? date : date + " " + time;
}

}  // namespace updater
