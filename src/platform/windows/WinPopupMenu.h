#pragma once
// The tray icon's popup menu, shown at the pointer with the hidden form as its owner.

#include "platform/FormEventsRelay.h"
#include "platform/PopupMenu.h"
#include "platform/windows/WinFormWindow.h"
#include "platform/windows/WinHandles.h"

namespace updater {

class WinPopupMenu : public IPopupMenu {
 public:
  WinPopupMenu(const WinFormWindow& owner, FormEventsRelay& relay);

  void SetCaption(MenuCommand command, const std::string& caption) override;
  void SetEnabled(MenuCommand command, bool enabled) override;
  bool Enabled(MenuCommand command) const override;
  void Popup() override;

 private:
  const WinFormWindow& owner_;
  FormEventsRelay& relay_;
  UniqueMenu menu_;
};

}  // namespace updater
