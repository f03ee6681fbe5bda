#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include "platform/windows/Win32Calls.h"

namespace updater::win32 {

bool InitializeComForShell() {
  return SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

void UninitializeCom() { ::CoUninitialize(); }

std::intptr_t ShellOpen(std::uintptr_t ownerWindow, const char* operation, const char* file, const char* parameters,
                        const char* directory, std::int32_t showCommand) {
  return reinterpret_cast<std::intptr_t>(::ShellExecuteA(reinterpret_cast<HWND>(ownerWindow), operation, file,
                                                         parameters, directory, showCommand));
}

}  // namespace updater::win32
