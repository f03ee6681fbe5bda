#include "platform/linux/LinuxProgramInfo.h"

#include <unistd.h>

#include <climits>

namespace updater {
namespace {

std::string ExecutablePath() {
  char path[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string();
}

}  // namespace

LinuxProgramInfo::LinuxProgramInfo(std::string arguments) : ProgramFacts(ExecutablePath(), '/', std::move(arguments)) {}

std::string JoinArguments(int argc, const char* const* argv) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) text += ' ';
    text += argv[i];
  }
  return text;
}

}  // namespace updater
