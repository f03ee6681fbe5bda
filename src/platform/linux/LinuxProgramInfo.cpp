#include "platform/linux/LinuxProgramInfo.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string_view>

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

std::vector<std::string> LinuxProgramInfo::UserLanguages() const {
  const auto variable = [](const char* name) -> std::string_view {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
  };
  std::string_view locale;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    if (locale.empty()) locale = variable(name);
  }
  if (locale.empty() || locale == "C" || locale == "POSIX" || locale.starts_with("C.")) return {};
  const std::string_view preferred = variable("LANGUAGE");
  std::string_view list = preferred.empty() ? locale : preferred;
  std::vector<std::string> languages;
  while (!list.empty()) {
    const std::size_t colon = std::min(list.find(':'), list.size());
    if (colon > 0) languages.emplace_back(list.substr(0, colon));
    list.remove_prefix(std::min(colon + 1, list.size()));
  }
  return languages;
}

std::string JoinArguments(int argc, const char* const* argv) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) text += ' ';
    text += argv[i];
  }
  return text;
}

}  // namespace updater
