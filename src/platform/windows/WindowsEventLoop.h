#pragma once
// The user-interface thread's message queue.

#include <cstdint>

#include "platform/EventLoop.h"

namespace updater {

class WindowsEventLoop : public IEventLoop {
 public:
  // Runs the messages already waiting in the queue, at most kMaxMessages of them. The download loop
  // yields twice per 1024-byte block, far more often than a person can act or the 100 ms timer
  // ticks, so the queue is looked at no more than once per tick of the system's millisecond count
  // (about 16 ms); a yield in between costs one read of that count.
  void DoEvents() override;
  void Sleep(std::uint32_t ms) override;
  void Quit() override;

  // Runs the message loop until Quit; returns at once when Quit came first.
  int Run();

  static constexpr int kMaxMessages = 64;

 private:
  std::uint64_t lastTick_ = 0;
  bool quitting_ = false;
};

}  // namespace updater
