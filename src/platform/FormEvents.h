#pragma once
// Events the desktop delivers to the form, all on the user-interface thread.

#include "platform/PopupMenu.h"

namespace updater {

class IFormEvents {
 public:
  virtual ~IFormEvents() = default;
  // A tick of the 100 ms animation timer.
  virtual void tmrTrayAnim_Timer() = 0;
  // A pointer-move message; the tray reports its pointer events this way, with the event's code,
  // times the twips per pixel, as x.
  virtual void Form_MouseMove(float x) = 0;
  virtual void Form_Resize() = 0;
  // A command chosen in the popup menu.
  virtual void MenuClick(MenuCommand command) = 0;
};

}  // namespace updater
