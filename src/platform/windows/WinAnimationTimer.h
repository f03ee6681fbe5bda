#pragma once
// The form's animation timer: a window timer of the hidden form, 100 ms, running from the start.

#include "platform/EventLoop.h"
#include "platform/windows/WinFormWindow.h"

namespace updater {

class WinAnimationTimer : public IAnimationTimer {
 public:
  explicit WinAnimationTimer(const WinFormWindow& form);
  ~WinAnimationTimer() override;
  WinAnimationTimer(const WinAnimationTimer&) = delete;
  WinAnimationTimer& operator=(const WinAnimationTimer&) = delete;

  void SetEnabled(bool enabled) override;
  bool Enabled() const override { return enabled_; }

  static constexpr unsigned kIntervalMs = 100;

 private:
  const WinFormWindow& form_;
  bool enabled_ = false;
};

}  // namespace updater
