#include "platform/windows/WindowsLocaleClock.h"

#include <windows.h>

#include <algorithm>

#include "platform/LocalTime.h"
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


LocalTime TimeOf(const SYSTEMTIME& now) {
  return LocalTime{now.wHour, now.wMinute, now.wSecond, now.wMilliseconds / 1000.0};
}

}  // namespace

std::string WindowsLocaleClock::NowText() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  const std::string date = Formatted([&](char* buffer, int size) {
    return ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &now, nullptr, buffer, size);
  });
  // No flags: the locale's long time format.
  const std::string time = Formatted([&](char* buffer, int size) {
    return ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &now, nullptr, buffer, size);
  });
  return DateTimeText(TimeOf(now), date, time);
}

double WindowsLocaleClock::SecondsSinceMidnight() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return TimeOf(now).SecondsSinceMidnight();
}

}  // namespace updater
