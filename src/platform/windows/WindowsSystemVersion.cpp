#include "platform/windows/WindowsSystemVersion.h"

#include "platform/windows/Win32Calls.h"

namespace updater {

bool WindowsSystemVersion::GetVersionEx(OsVersionInfo& info) { return win32::ReadVersionInfo(info); }

}  // namespace updater
