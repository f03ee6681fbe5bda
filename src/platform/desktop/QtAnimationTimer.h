#pragma once
// The form's 100 ms animation timer on Qt, running from the form's creation.

#include <QTimer>

#include "platform/EventLoop.h"
#include "platform/FormEventsRelay.h"

namespace updater {

class QtAnimationTimer : public IAnimationTimer {
 public:
  static constexpr int kIntervalMs = 100;

  explicit QtAnimationTimer(FormEventsRelay& relay);
  void SetEnabled(bool enabled) override;
  bool Enabled() const override { return timer_.isActive(); }

 private:
  QTimer timer_;
};

}  // namespace updater
