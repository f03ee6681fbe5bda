#include "platform/linux/LinuxProgramInfo.h"

#include <unistd.h>

#include <climits>

namespace updater {

LinuxProgramInfo::LinuxProgramInfo(std::string arguments) : arguments_(std::move(arguments)) {
  char path[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  const std::string exe = n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string();
  const auto slash = exe.rfind('/');
  folder_ = slash == std::string::npos ? "." : exe.substr(0, slash);
  module_ = slash == std::string::npos ? exe : exe.substr(slash + 1);
  if (const auto dot = module_.rfind('.'); dot != std::string::npos && dot > 0) module_.erase(dot);
}

std::string LinuxProgramInfo::FileBesideProgram(const std::string& name) const { return folder_ + "/" + name; }

std::string LinuxProgramInfo::ModuleName() const { return module_; }

std::string JoinArguments(int argc, const char* const* argv) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) text += ' ';
    text += argv[i];
  }
  return text;
}

}  // namespace updater
