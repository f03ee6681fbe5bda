#pragma once
// The desktop side of a platform: the hidden form window with its menu, timer and message boxes, the
// notification area, the animation frames and the event loop that runs them.

#include "platform/EventLoop.h"
#include "platform/FormEvents.h"
#include "platform/FormWindow.h"
#include "platform/ImageList.h"
#include "platform/MessageBox.h"
#include "platform/NotifyShell.h"
#include "platform/PopupMenu.h"
#include "platform/Screen.h"

namespace updater {

struct DesktopServices {
  IMessageBox& messageBox;
  IFormWindow& window;
  const IScreen& screen;
  IPopupMenu& menu;
  IAnimationTimer& timer;
  IEventLoop& eventLoop;
  INotifyShell& notifyShell;
  const IImageList& goodIcons;
  const IImageList& badIcons;
};

class IDesktop {
 public:
  virtual ~IDesktop() = default;
  virtual DesktopServices Services() = 0;
  // Delivers the desktop's events to the form from now on.
  virtual void Attach(IFormEvents& form) = 0;
  // Runs the event loop until the form is unloaded; returns the exit status.
  virtual int Run() = 0;
};

}  // namespace updater
