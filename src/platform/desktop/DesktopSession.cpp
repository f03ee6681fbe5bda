#include "platform/desktop/DesktopSession.h"

namespace updater {

QtApplicationHolder::QtApplicationHolder(const char* programName)
    : name_(programName != nullptr ? programName : "updater"), argv_{name_.data(), nullptr}, app_(argc_, argv_) {
  QApplication::setApplicationName(QStringLiteral("Updater"));
  // Closing a message box must not end the program: only unloading the form does.
  QApplication::setQuitOnLastWindowClosed(false);
}

DesktopSession::DesktopSession()
    : window_(relay_),
      menu_(relay_),
      goodIcons_(FrameColour::Green, icons_),
      badIcons_(FrameColour::Red, icons_),
      notifyShell_(icons_, window_, relay_),
      timer_(relay_) {}

}  // namespace updater
