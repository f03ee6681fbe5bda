#include "platform/windows/WindowsShellExecute.h"

#include "platform/windows/AnsiText.h"
#include "platform/windows/Win32Calls.h"

namespace updater {

WindowsShellExecute::~WindowsShellExecute() {
  if (comInitialized_) win32::UninitializeCom();
}

std::intptr_t WindowsShellExecute::ShellExecute(std::uint32_t ownerWindow, const std::string& operation,
                                                const std::string& file, const std::string& parameters,
                                                const std::string& directory, std::int32_t showCommand) {
  if (!comInitialized_) comInitialized_ = win32::InitializeComForShell();
  return win32::ShellOpen(ownerWindow, AnsiFromUtf8(operation).c_str(), AnsiFromUtf8(file).c_str(),
                          AnsiFromUtf8(parameters).c_str(), AnsiFromUtf8(directory).c_str(), showCommand);
}

}  // namespace updater
