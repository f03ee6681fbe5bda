#pragma once
// The Qt desktop of one run: the hidden form window with its menu and timer,
// message boxes, the notification area and the animation frames.

#include <QApplication>
#include <memory>
#include <string>

#include "platform/Desktop.h"
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

// Needs the application object.
class DesktopSession : public IDesktop {
 public:
  DesktopSession();

  void Attach(IFormEvents& form) override { relay_.Attach(form); }
  int Run() override { return eventLoop_.Run(); }

  DesktopServices Services() override {
    return {messageBox_, window_, window_, menu_, timer_, eventLoop_, notifyShell_, goodIcons_, badIcons_};
  }

 private:
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
