#pragma once
// The shell's "open" is ShellExecuteA itself; the texts go to it in the ANSI code page. The file may
// reach shell extensions, which need COM on the calling thread: it is set up before the first call
// and undone when this object goes.

#include "platform/ShellExecute.h"

namespace updater {

class WindowsShellExecute : public IShellExecute {
 public:
  WindowsShellExecute() = default;
  ~WindowsShellExecute() override;
  WindowsShellExecute(const WindowsShellExecute&) = delete;
  WindowsShellExecute& operator=(const WindowsShellExecute&) = delete;

  std::intptr_t ShellExecute(std::uint32_t ownerWindow, const std::string& operation, const std::string& file,
                             const std::string& parameters, const std::string& directory,
                             std::int32_t showCommand) override;

 private:
  bool comInitialized_ = false;
};

}  // namespace updater
