#include "platform/windows/SystemDllSearch.h"

#include <windows.h>

namespace updater {
namespace {

// LOAD_LIBRARY_SEARCH_SYSTEM32, which the Windows 7 headers leave out.
constexpr DWORD kSearchSystem32 = 0x800;

}  // namespace

void LoadDllsFromSystemFolderOnly() {
  using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
  const FARPROC found = ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
  if (found == nullptr) return;
  reinterpret_cast<SetDefaultDirectories>(reinterpret_cast<void (*)()>(found))(kSearchSystem32);
}

}  // namespace updater
