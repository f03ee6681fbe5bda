#pragma once
// The tray icon's popup menu, shown at the pointer with the hidden form as its owner.

#include "platform/FormEventsRelay.h"
#include "platform/PopupMenu.h"
#include "platform/windows/WindowsFormWindow.h"
#include "platform/windows/UserHandles.h"

namespace updater {

class WindowsPopupMenu : public IPopupMenu {
 public:
  WindowsPopupMenu(const WindowsFormWindow& owner, FormEventsRelay& relay);

  void SetCaption(MenuCommand command, const std::string& caption) override;
  void SetEnabled(MenuCommand command, bool enabled) override;
  bool Enabled(MenuCommand command) const override;
  void SetRightToLeft(bool rightToLeft) override { rightToLeft_ = rightToLeft; }
  void Popup() override;

 private:
  const WindowsFormWindow& owner_;
  FormEventsRelay& relay_;
  UniqueMenu menu_;
  bool rightToLeft_ = false;
};

}  // namespace updater
