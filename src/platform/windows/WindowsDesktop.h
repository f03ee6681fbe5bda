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

  IMessageBox& MessageBox() override { return messageBox_; }
  IFormWindow& Window() override { return window_; }
  const IScreen& Screen() const override { return window_; }
  IPopupMenu& Menu() override { return menu_; }
  IAnimationTimer& Timer() override { return timer_; }
  IEventLoop& EventLoop() override { return eventLoop_; }
  INotifyShell& NotifyShell() override { return notifyShell_; }
  const IImageList& GoodIcons() const override { return goodIcons_; }
  const IImageList& BadIcons() const override { return badIcons_; }

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
