#pragma once
// The Qt desktop of one run: the application object, the hidden form window with its menu and timer,
// message boxes, the notification area and the animation frames.

#include <QApplication>
#include <memory>
#include <string>

#include "platform/FormEventsRelay.h"
#include "platform/desktop/IconRegistry.h"
#include "platform/desktop/QtAnimationTimer.h"
#include "platform/desktop/QtEventLoop.h"
#include "platform/desktop/QtFormWindow.h"
#include "platform/desktop/QtImageList.h"
#include "platform/desktop/QtMessageBox.h"
#include "platform/desktop/QtNotifyShell.h"
#include "platform/desktop/QtPopupMenu.h"

namespace updater {

// Starts Qt without the program's arguments: they belong to the updater, not to Qt.
class QtApplicationHolder {
 public:
  explicit QtApplicationHolder(const char* programName);

 private:
  std::string name_;
  int argc_ = 1;
  char* argv_[2] = {nullptr, nullptr};
  QApplication app_;
};

class DesktopSession {
 public:
  explicit DesktopSession(const char* programName);

  // Delivers the desktop's events to the form from now on.
  void Attach(IFormEvents& form) { relay_.Attach(form); }
  // Runs the event loop until the form is unloaded.
  int Run() { return eventLoop_.Run(); }

  IMessageBox& MessageBox() { return messageBox_; }
  IFormWindow& Window() { return window_; }
  const IScreen& Screen() const { return window_; }
  IPopupMenu& Menu() { return menu_; }
  IAnimationTimer& Timer() { return timer_; }
  IEventLoop& EventLoop() { return eventLoop_; }
  INotifyShell& NotifyShell() { return notifyShell_; }
  const IImageList& GoodIcons() const { return goodIcons_; }
  const IImageList& BadIcons() const { return badIcons_; }

 private:
  QtApplicationHolder application_;
  FormEventsRelay relay_;
  IconRegistry icons_;
  QtFormWindow window_;
  QtMessageBox messageBox_;
  QtEventLoop eventLoop_;
  QtPopupMenu menu_;
  QtImageList goodIcons_;
  QtImageList badIcons_;
  QtNotifyShell notifyShell_;
  QtAnimationTimer timer_;
};

}  // namespace updater
