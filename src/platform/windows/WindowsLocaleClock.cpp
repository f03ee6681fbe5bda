#include "platform/windows/WindowsLocaleClock.h"

#include <windows.h>

#include <algorithm>

#include "platform/windows/AnsiText.h"

namespace updater {
namespace {

// A formatting call asked for its length first, then for the text.
template <typename Format>
std::string Formatted(Format format) {
  std::string text(static_cast<std::size_t>(std::max(format(nullptr, 0), 1)), '\0');
  const int n = format(text.data(), static_cast<int>(text.size()));
  text.resize(n > 0 ? static_cast<std::size_t>(n - 1) : 0);
  return Utf8FromAnsi(text);
}

}  // namespace

std::string WindowsLocaleClock::NowText() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  const std::string date = Formatted([&](char* buffer, int size) {
    return ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &now, nullptr, buffer, size);
  });
  if (now.wHour == 0 && now.wMinute == 0 && now.wSecond == 0) return date;
  // No flags: the locale's long time format.
  return date + " " + Formatted([&](char* buffer, int size) {
           return ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &now, nullptr, buffer, size);
         });
}

double WindowsLocaleClock::SecondsSinceMidnight() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return now.wHour * 3600.0 + now.wMinute * 60.0 + now.wSecond + now.wMilliseconds / 1000.0;
}

}  // namespace updater
