#include "platform/windows/WinAnimationTimer.h"

#include <windows.h>

namespace updater {
namespace {
constexpr UINT_PTR kTimerId = 1;
}

WinAnimationTimer::WinAnimationTimer(const WinFormWindow& form) : form_(form) { SetEnabled(true); }

WinAnimationTimer::~WinAnimationTimer() { SetEnabled(false); }

void WinAnimationTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  if (enabled)
    enabled_ = SetTimer(form_.Handle(), kTimerId, kIntervalMs, nullptr) != 0;
  else
    enabled_ = !KillTimer(form_.Handle(), kTimerId);
}

}  // namespace updater
