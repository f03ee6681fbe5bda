#pragma once
// A monotonic clock that costs a few nanoseconds to read, at the price of a resolution of one kernel
// tick (1 to 10 ms): for code that asks the time on every pass of a hot loop and needs it only roughly.

#include <chrono>

namespace updater {

struct CoarseClock {
  using duration = std::chrono::nanoseconds;
  using rep = duration::rep;
  using period = duration::period;
  using time_point = std::chrono::time_point<CoarseClock>;
  static constexpr bool is_steady = true;

  static time_point now() noexcept;
};

}  // namespace updater
