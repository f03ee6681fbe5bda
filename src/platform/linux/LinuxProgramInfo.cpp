#include "platform/linux/LinuxProgramInfo.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string_view>

namespace updater {
namespace {

std::string ExecutablePath() {
  char path[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string();
}

}  // namespace

LinuxProgramInfo::LinuxProgramInfo(std::string arguments) : ProgramFacts(ExecutablePath(), '/', std::move(arguments)) {}

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
