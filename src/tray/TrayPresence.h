#pragma once
// The form's side of the tray: it owns the icon object, animates it from the 100 ms timer,
// forwards the shell's pointer callbacks to it and answers its clicks.

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/FormWindow.h"
#include "platform/ImageList.h"
#include "platform/LocaleClock.h"
#include "platform/NotifyShell.h"
#include "platform/PopupMenu.h"
#include "platform/Screen.h"
#include "text/Reporters.h"
#include "tray/CXPSysTrayIcon.h"

namespace updater {

// What the animation shows.
enum TrayAnimModes : std::int32_t {
  AnimGoodStill = 0,
  AnimBadStill = 1,
  AnimGoodCycle = 2,
  AnimBadCycle = 3,
};

// The desktop services the tray side works with.
struct TrayDesktop {
  INotifyShell& shell;
  ILocaleClock& clock;
  const IScreen& screen;
  IFormWindow& window;
  IPopupMenu& menu;
  const IImageList& goodIcons;
  const IImageList& badIcons;
};

class TrayPresence : public ITrayIconEvents {
 public:
  // leftClick is the action of a left click or double click on the icon.
  TrayPresence(const TrayDesktop& desktop, IFormErrors& errors, std::function<void()> leftClick);

  // Creates the icon object; the form does this once, while it loads.
  CXPSysTrayIcon& CreateSysTrayIcon();
  // The icon object, or null before it has been created.
  CXPSysTrayIcon* SysTrayIcon() { return sysTrayIcon_.get(); }

  // Which frames the timer shows (TrayAnimModes).
  std::int32_t TrayAnimMode = AnimGoodStill;

  void tmrTrayAnim_Timer();
  void Form_MouseMove(float x);
  void Form_Resize();

  void ButtonClick(std::int32_t& button) override;
  void ButtonDblClick(std::int32_t& button) override;

 private:
  TrayDesktop desktop_;
  IFormErrors& errors_;
  std::function<void()> leftClick_;
  std::unique_ptr<CXPSysTrayIcon> sysTrayIcon_;
  std::int32_t animFrame_ = 0;
  bool tickRunning_ = false;
};

}  // namespace updater
