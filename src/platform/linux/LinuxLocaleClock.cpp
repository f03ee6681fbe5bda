#include "platform/linux/LinuxLocaleClock.h"

#include <langinfo.h>

#include <chrono>

namespace updater {
namespace {

std::string Format(const char* format, const std::tm& local) {
  char text[256];
  const std::size_t n = std::strftime(text, sizeof text, format, &local);
  return std::string(text, n);
}

std::tm LocalNow(double* fraction) {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  if (fraction != nullptr) {
    const auto sinceEpoch = now.time_since_epoch();
    *fraction = std::chrono::duration<double>(sinceEpoch - std::chrono::floor<std::chrono::seconds>(sinceEpoch)).count();
  }
  std::tm local{};
  localtime_r(&seconds, &local);
  return local;
}

}  // namespace

std::string LocaleDateTimeText(const std::tm& local) {
  const std::string date = Format(nl_langinfo(D_FMT), local);
  if (local.tm_hour == 0 && local.tm_min == 0 && local.tm_sec == 0) return date;
  return date + " " + Format(nl_langinfo(T_FMT), local);
}

std::string LinuxLocaleClock::NowText() { return LocaleDateTimeText(LocalNow(nullptr)); }

double LinuxLocaleClock::SecondsSinceMidnight() {
  double fraction = 0;
  const std::tm local = LocalNow(&fraction);
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction;
}

}  // namespace updater
