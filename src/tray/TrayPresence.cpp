#include "tray/TrayPresence.h"

#include <utility>

#include "text/Trap.h"

namespace updater {

TrayPresence::TrayPresence(const TrayDesktop& desktop, IFormErrors& errors, std::function<void()> leftClick)
    : desktop_(desktop), errors_(errors), leftClick_(std::move(leftClick)) {}

CXPSysTrayIcon& TrayPresence::CreateSysTrayIcon() {
  sysTrayIcon_ = std::make_unique<CXPSysTrayIcon>(desktop_.shell, desktop_.clock, desktop_.screen, *this);
  return *sysTrayIcon_;
}

void TrayPresence::tmrTrayAnim_Timer() {
  // A tick that comes while an earlier tick's fault report is still open is skipped: a fault that
  // repeats on every tick must not stack message boxes without end.
  if (tickRunning_) return;
  tickRunning_ = true;
  struct Done {
    bool& running;
    ~Done() { running = false; }
  } done{tickRunning_};
  TrapForm(errors_, "Rintime Error in tmrTrayAnim_Timer", [&] {
    if (!sysTrayIcon_ || !sysTrayIcon_->Visible()) return;
    ++animFrame_;
    if (animFrame_ > desktop_.badIcons.Count()) animFrame_ = 1;
    switch (TrayAnimMode) {
      case AnimGoodStill: sysTrayIcon_->Icon(desktop_.goodIcons.Picture(1)); break;
      case AnimBadStill: sysTrayIcon_->Icon(desktop_.badIcons.Picture(1)); break;
      case AnimGoodCycle: sysTrayIcon_->Icon(desktop_.goodIcons.Picture(animFrame_)); break;
      case AnimBadCycle: sysTrayIcon_->Icon(desktop_.badIcons.Picture(animFrame_)); break;
      default: break;
    }
  });
}

void TrayPresence::Form_MouseMove(float x) {
  TrapForm(errors_, "Rintime Error in Form_MouseMove", [&] {
    if (sysTrayIcon_) sysTrayIcon_->MouseMoveHandler(x, kScaleModeTwips);
  });
}

void TrayPresence::Form_Resize() {
  TrapForm(errors_, "Rintime Error in Form_Resize", [&] {
    if (desktop_.window.WindowState() == kWindowStateMinimized) desktop_.window.Hide();
  });
}

// The click handlers install no trap: a fault in them, or in the left-click action, leaves through
// MouseMoveHandler and is reported by the trap of Form_MouseMove.
void TrayPresence::ButtonClick(std::int32_t& button) {
  if (button == 1) {
    leftClick_();
  } else if (button == 2) {
    desktop_.window.SetForegroundWindow();
    desktop_.menu.Popup();
  }
}

void TrayPresence::ButtonDblClick(std::int32_t& button) {
  if (button == 1) leftClick_();
}

}  // namespace updater
