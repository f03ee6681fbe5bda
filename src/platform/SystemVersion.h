#pragma once
// The operating system's version, shaped like the Windows version record.

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

class ISystemVersion {
 public:
  virtual ~ISystemVersion() = default;
  // Fills info and returns true, or returns false when the version cannot be told.
  virtual bool GetVersionEx(OsVersionInfo& info) = 0;
};

}  // namespace updater
