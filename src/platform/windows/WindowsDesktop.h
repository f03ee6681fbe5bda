#pragma once
// The Win32 desktop of one run: the hidden form window with its menu, timer and message boxes, the
// notification area and the animation frames as icons.

#include "platform/Desktop.h"
#include "platform/FormEventsRelay.h"
#include "platform/windows/WindowsAnimationTimer.h"
#include "platform/windows/WindowsEventLoop.h"
#include "platform/windows/WindowsFormWindow.h"
#include "platform/windows/WindowsImageList.h"
#include "platform/windows/WindowsMessageBox.h"
#include "platform/windows/WindowsNotifyShell.h"
#include "platform/windows/WindowsPopupMenu.h"

namespace updater {

// Faults with the system's error when the window, the menu or an icon cannot be made.
class WindowsDesktop : public IDesktop {
 public:
  WindowsDesktop();

  void Attach(IFormEvents& form) override { relay_.Attach(form); }
  int Run() override { return eventLoop_.Run(); }

  DesktopServices Services() override {
    return {messageBox_, window_, window_, menu_, timer_, eventLoop_, notifyShell_, goodIcons_, badIcons_};
  }

 private:
  FormEventsRelay relay_;
  WindowsFormWindow window_;
  WindowsMessageBox messageBox_;
  WindowsEventLoop eventLoop_;
  WindowsPopupMenu menu_;
  WindowsImageList goodIcons_;
  WindowsImageList badIcons_;
  WindowsNotifyShell notifyShell_;
  WindowsAnimationTimer timer_;
};

}  // namespace updater
