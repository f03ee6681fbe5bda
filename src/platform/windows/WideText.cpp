#include "platform/windows/WideText.h"

#include <windows.h>

namespace updater {

std::wstring Widen(unsigned codePage, unsigned long flags, std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int n = ::MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  if (n > 0) ::MultiByteToWideChar(codePage, flags, text.data(), size, wide.data(), n);
  return wide;
}

std::wstring Wide(std::string_view utf8) { return Widen(CP_UTF8, 0, utf8); }

}  // namespace updater
