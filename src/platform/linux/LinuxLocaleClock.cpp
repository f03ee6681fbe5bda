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

LocalTime TimeOf(const std::tm& local, double fraction = 0) {
  return LocalTime{local.tm_hour, local.tm_min, local.tm_sec, fraction};
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
  return DateTimeText(TimeOf(local), Format(nl_langinfo(D_FMT), local), Format(nl_langinfo(T_FMT), local));
}

std::string LinuxLocaleClock::NowText() { return LocaleDateTimeText(LocalNow(nullptr)); }

double LinuxLocaleClock::SecondsSinceMidnight() {
  double fraction = 0;
  const std::tm local = LocalNow(&fraction);
  return TimeOf(local, fraction).SecondsSinceMidnight();
}

}  // namespace updater
