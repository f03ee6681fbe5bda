#pragma once
// The version Windows reports through GetVersionExA.

#include "platform/SystemVersion.h"

namespace updater {

class WindowsSystemVersion : public ISystemVersion {
 public:
  bool GetVersionEx(OsVersionInfo& info) override;
};

}  // namespace updater
