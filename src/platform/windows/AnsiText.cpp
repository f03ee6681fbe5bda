#include "platform/windows/AnsiText.h"

#include <windows.h>

#include "platform/windows/WideText.h"

namespace updater {
namespace {

std::string Narrow(UINT codePage, std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int n = ::WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(n), '\0');
  if (n > 0) ::WideCharToMultiByte(codePage, 0, wide.data(), size, text.data(), n, nullptr, nullptr);
  return text;
}

}  // namespace

std::string AnsiFromUtf8(std::string_view text) { return Narrow(CP_ACP, Wide(text)); }

std::string Utf8FromAnsi(std::string_view text) { return Narrow(CP_UTF8, Widen(CP_ACP, 0, text)); }

bool FitsAnsiCodePage(std::string_view text) {
  const std::wstring wide = Widen(CP_UTF8, MB_ERR_INVALID_CHARS, text);
  if (wide.empty() != text.empty()) return false;
  // A UTF-8 code page holds every character; it takes no default-character query.
  if (::GetACP() == CP_UTF8) return true;
  BOOL usedDefault = FALSE;
  ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                        nullptr, &usedDefault);
  return !usedDefault;
}

}  // namespace updater
