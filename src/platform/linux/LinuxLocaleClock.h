#pragma once
// The local time in the user's locale formats.

#include <ctime>
#include <string>

#include "platform/LocalTime.h"
#include "platform/LocaleClock.h"

namespace updater {

// The date in the locale's date format, a blank and the time in its time format; at exactly
// midnight the date alone.
std::string LocaleDateTimeText(const std::tm& local);

class LinuxLocaleClock : public ILocaleClock {
 public:
  std::string NowText() override;
  double SecondsSinceMidnight() override;
};

}  // namespace updater
