#include "platform/windows/WindowsAnimationTimer.h"

#include <windows.h>

namespace updater {
namespace {
constexpr UINT_PTR kTimerId = 1;
}

WindowsAnimationTimer::WindowsAnimationTimer(const WindowsFormWindow& form) : form_(form) { SetEnabled(true); }

WindowsAnimationTimer::~WindowsAnimationTimer() { SetEnabled(false); }

void WindowsAnimationTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  if (enabled)
    enabled_ = SetTimer(form_.Handle(), kTimerId, kIntervalMs, nullptr) != 0;
  else
    enabled_ = !KillTimer(form_.Handle(), kTimerId);
}

}  // namespace updater
