#include "platform/windows/WindowsDesktop.h"

namespace updater {

WindowsDesktop::WindowsDesktop()
    : window_(relay_),
      messageBox_(&window_),
      menu_(window_, relay_),
      goodIcons_(FrameColour::Green),
      badIcons_(FrameColour::Red),
      timer_(window_) {}

}  // namespace updater
