#pragma once
// The kernel's release and the distribution's name, shaped like the Windows version record.

#include <string>

#include "platform/SystemVersion.h"

namespace updater {

class LinuxSystemVersion : public ISystemVersion {
 public:
  explicit LinuxSystemVersion(std::string osReleasePath = "/etc/os-release") : osReleasePath_(std::move(osReleasePath)) {}
  // major.minor.build from the kernel release; the distribution's PRETTY_NAME as the release text.
  bool GetVersionEx(OsVersionInfo& info) override;

 private:
  std::string osReleasePath_;
};

}  // namespace updater
