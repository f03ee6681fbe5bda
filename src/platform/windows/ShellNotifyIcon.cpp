#include "platform/windows/ShellNotifyIcon.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstddef>

#include "platform/windows/WideText.h"

namespace updater {
namespace {

#ifndef _WIN64
// The tray logic lays its record out as the 32-bit NOTIFYICONDATAA that ends with the item GUID.
static_assert(NOTIFYICONDATAA_V3_SIZE == 504);
static_assert(offsetof(NOTIFYICONDATAA, hIcon) == 20 && offsetof(NOTIFYICONDATAA, szTip) == 24 &&
              offsetof(NOTIFYICONDATAA, dwState) == 152 && offsetof(NOTIFYICONDATAA, szInfo) == 160 &&
              offsetof(NOTIFYICONDATAA, uTimeout) == 416 && offsetof(NOTIFYICONDATAA, szInfoTitle) == 420 &&
              offsetof(NOTIFYICONDATAA, dwInfoFlags) == 484 && offsetof(NOTIFYICONDATAA, guidItem) == 488);
#endif

template <std::size_t Width>
void CopyText(WCHAR (&field)[Width], const std::string& utf8) {
  const std::wstring text = WideFieldText(utf8, Width);
  std::copy_n(text.begin(), text.size(), field);
  field[text.size()] = L'\0';
}

}  // namespace

std::wstring WideFieldText(const std::string& utf8, std::size_t width) {
  std::wstring text = Wide(utf8);
  if (text.size() < width) return text;
  const bool splitsPair = IS_HIGH_SURROGATE(text[width - 2]);
  text.resize(width - (splitsPair ? 2 : 1));
  return text;
}

bool CallShellNotifyIconW(std::uint32_t message, const ShellIconRequest& request) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = static_cast<HWND>(LongToHandle(static_cast<LONG>(request.window)));
  data.uID = request.id;
  data.uFlags = request.flags;
  data.uCallbackMessage = request.callbackMessage;
  data.hIcon = static_cast<HICON>(LongToHandle(static_cast<LONG>(request.icon)));
  CopyText(data.szTip, request.tip);
  data.dwState = request.state;
  data.dwStateMask = request.stateMask;
  CopyText(data.szInfo, request.info);
  data.uTimeout = request.timeoutOrVersion;
  CopyText(data.szInfoTitle, request.infoTitle);
  data.dwInfoFlags = request.infoFlags;
  return Shell_NotifyIconW(message, &data) != FALSE;
}

}  // namespace updater
