#include <windows.h>

#include <algorithm>

#include "platform/windows/Win32Calls.h"

namespace updater::win32 {

bool ReadVersionInfo(OsVersionInfo& info) {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = info.size;
  if (!::GetVersionExA(&version)) return false;
  info.majorVersion = version.dwMajorVersion;
  info.minorVersion = version.dwMinorVersion;
  info.buildNumber = version.dwBuildNumber;
  info.platformId = version.dwPlatformId;
  static_assert(sizeof version.szCSDVersion == sizeof info.csdVersion);
  std::copy_n(version.szCSDVersion, sizeof version.szCSDVersion, info.csdVersion.begin());
  return true;
}

}  // namespace updater::win32
