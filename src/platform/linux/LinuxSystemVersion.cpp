#include "platform/linux/LinuxSystemVersion.h"

#include <sys/utsname.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace updater {
namespace {

// "6.1.0-18-amd64" gives 6, 1 and 0; missing parts are 0.
void ParseRelease(const char* release, OsVersionInfo& info) {
  std::uint32_t* parts[] = {&info.majorVersion, &info.minorVersion, &info.buildNumber};
  const char* p = release;
  for (std::uint32_t* part : parts) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(p, &end, 10);
    if (end == p) break;
    *part = static_cast<std::uint32_t>(value);
    if (*end != '.') break;
    p = end + 1;
  }
}

// PRETTY_NAME from an os-release file, without its quotes; empty when there is none.
std::string PrettyName(const std::string& path) {
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line)) {
    if (line.rfind("PRETTY_NAME=", 0) != 0) continue;
    std::string value = line.substr(12);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    return value;
  }
  return "";
}

}  // namespace

bool LinuxSystemVersion::GetVersionEx(OsVersionInfo& info) {
  struct utsname names {};
  if (::uname(&names) != 0) return false;
  ParseRelease(names.release, info);
  info.platformId = 2;
  const std::string pretty = PrettyName(osReleasePath_);
  const std::size_t n = std::min(pretty.size(), info.csdVersion.size() - 1);
  std::copy_n(pretty.begin(), n, info.csdVersion.begin());
  info.csdVersion[n] = '\0';
  return true;
}

}  // namespace updater
