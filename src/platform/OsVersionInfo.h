#pragma once
// The operating system's version record, shaped like the Windows one.

#include <array>
#include <cstdint>

namespace updater {

struct OsVersionInfo {
  std::uint32_t size = 148;
  std::uint32_t majorVersion = 0;
  std::uint32_t minorVersion = 0;
  std::uint32_t buildNumber = 0;
  std::uint32_t platformId = 0;
  // Service-pack or release text, NUL-terminated when the platform fills it properly.
  std::array<char, 128> csdVersion{};
};

}  // namespace updater
