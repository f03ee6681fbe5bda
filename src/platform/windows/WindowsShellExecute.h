#pragma once
// The shell's "open" is ShellExecuteA itself; the texts go to it in the ANSI code page.

#include "platform/ShellExecute.h"

namespace updater {

class WindowsShellExecute : public IShellExecute {
 public:
  std::intptr_t ShellExecute(std::uint32_t ownerWindow, const std::string& operation, const std::string& file,
                             const std::string& parameters, const std::string& directory,
                             std::int32_t showCommand) override;
};

}  // namespace updater
