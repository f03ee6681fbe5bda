#pragma once
// The form's animation timer: a window timer of the hidden form, 100 ms, running from the start.

#include "platform/EventLoop.h"
#include "platform/windows/WindowsFormWindow.h"

namespace updater {

class WindowsAnimationTimer : public IAnimationTimer {
 public:
  explicit WindowsAnimationTimer(const WindowsFormWindow& form);
  ~WindowsAnimationTimer() override;
  WindowsAnimationTimer(const WindowsAnimationTimer&) = delete;
  WindowsAnimationTimer& operator=(const WindowsAnimationTimer&) = delete;

  void SetEnabled(bool enabled) override;
  bool Enabled() const override { return enabled_; }

  static constexpr unsigned kIntervalMs = 100;

 private:
  const WindowsFormWindow& form_;
  bool enabled_ = false;
};

}  // namespace updater
