#include "platform/windows/UserHandles.h"

#include <windows.h>

namespace updater {

void WindowDestroyer::operator()(HWND window) const { DestroyWindow(window); }
void MenuDestroyer::operator()(HMENU menu) const { DestroyMenu(menu); }
void IconDestroyer::operator()(HICON icon) const { DestroyIcon(icon); }

std::uint32_t HandleNumber(const void* handle) { return HandleToULong(handle); }

}  // namespace updater
