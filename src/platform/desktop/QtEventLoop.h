#pragma once
// The user-interface thread's event loop on Qt.

#include <chrono>

#include "platform/EventLoop.h"
#include "platform/linux/CoarseClock.h"

namespace updater {

class QtEventLoop : public IEventLoop {
 public:
  // Runs the waiting events. The download loop yields twice per 1024-byte block, far more often than
  // a person can act or the 100 ms timer ticks, so events are looked at no more than once per
  // kEventCheckInterval, rounded up to the coarse clock's tick; a yield in between costs one read of
  // that clock, a few nanoseconds.
  void DoEvents() override;
  void Sleep(std::uint32_t ms) override;
  void Quit() override;

  // Runs the main loop until Quit; returns at once when Quit came first.
  int Run();

  static constexpr std::chrono::microseconds kEventCheckInterval{1000};
  static constexpr int kMaxRounds = 32;

 private:
  CoarseClock::time_point nextCheck_{};
  bool quitting_ = false;
};

}  // namespace updater
