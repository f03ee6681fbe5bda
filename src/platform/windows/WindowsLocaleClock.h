#pragma once
// The local time in the user's locale formats (GetDateFormatA, GetTimeFormatA).

#include "platform/LocaleClock.h"

namespace updater {

class WindowsLocaleClock : public ILocaleClock {
 public:
  std::string NowText() override;
  double SecondsSinceMidnight() override;
};

}  // namespace updater
