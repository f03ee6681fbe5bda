#pragma once
// The operating system's version, shaped like the Windows version record.

#include "platform/OsVersionInfo.h"

namespace updater {

class ISystemVersion {
 public:
  virtual ~ISystemVersion() = default;
  // Fills info and returns true, or returns false when the version cannot be told.
  virtual bool GetVersionEx(OsVersionInfo& info) = 0;
};

}  // namespace updater
