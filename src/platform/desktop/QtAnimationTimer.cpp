#include "platform/desktop/QtAnimationTimer.h"

namespace updater {

QtAnimationTimer::QtAnimationTimer(FormEventsRelay& relay) {
  timer_.setInterval(kIntervalMs);
  QObject::connect(&timer_, &QTimer::timeout,
                   [&relay] { relay.Deliver([](IFormEvents& form) { form.tmrTrayAnim_Timer(); }); });
  timer_.start();
}

void QtAnimationTimer::SetEnabled(bool enabled) {
  if (enabled && !timer_.isActive()) timer_.start();
  if (!enabled) timer_.stop();
}

}  // namespace updater
