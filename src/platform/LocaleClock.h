#pragma once
// The local time of day as the user's locale writes it.

#include <string>

namespace updater {

class ILocaleClock {
 public:
  virtual ~ILocaleClock() = default;
  // Now in the locale's short date format, a blank and its long time format; at exactly midnight the date alone.
  virtual std::string NowText() = 0;
  // Seconds since local midnight, with a fractional part.
  virtual double SecondsSinceMidnight() = 0;
};

}  // namespace updater
