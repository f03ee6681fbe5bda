#pragma once
// The shell's "open" on Linux: an executable file (ELF, or a script starting with "#!") is made
// executable for its owner and started directly; any other file goes to the desktop's opener.
// Nothing passes through a shell, and the started program is detached from this one.

#include "platform/ShellExecute.h"

namespace updater {

class LinuxShellExecute : public IShellExecute {
 public:
  std::intptr_t ShellExecute(std::uint32_t ownerWindow, const std::string& operation, const std::string& file,
                             const std::string& parameters, const std::string& directory,
                             std::int32_t showCommand) override;
};

}  // namespace updater
