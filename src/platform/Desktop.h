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

class IDesktop {
 public:
  virtual ~IDesktop() = default;
  virtual IMessageBox& MessageBox() = 0;
  virtual IFormWindow& Window() = 0;
  virtual const IScreen& Screen() const = 0;
  virtual IPopupMenu& Menu() = 0;
  virtual IAnimationTimer& Timer() = 0;
  virtual IEventLoop& EventLoop() = 0;
  virtual INotifyShell& NotifyShell() = 0;
  virtual const IImageList& GoodIcons() const = 0;
  virtual const IImageList& BadIcons() const = 0;
  // Delivers the desktop's events to the form from now on.
  virtual void Attach(IFormEvents& form) = 0;
  // Runs the event loop until the form is unloaded; returns the exit status.
  virtual int Run() = 0;
};

}  // namespace updater
