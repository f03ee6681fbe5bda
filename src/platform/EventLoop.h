#pragma once
// The single user-interface thread's event queue and the form's animation timer.

#include <cstdint>

namespace updater {

class IEventLoop {
 public:
  virtual ~IEventLoop() = default;
  // Runs the user-interface events that are already waiting, then returns.
  virtual void DoEvents() = 0;
  // Blocks the thread for ms milliseconds.
  virtual void Sleep(std::uint32_t ms) = 0;
  // Ends the program once the running call chain has returned to the event loop
  // (or at once, when the loop has not been entered yet).
  virtual void Quit() = 0;
};

class IAnimationTimer {
 public:
  virtual ~IAnimationTimer() = default;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;
};

}  // namespace updater
