#pragma once
// The tray icon's popup menu on Qt: Pause, Continue, a separator and Cancel download.

#include <QAction>
#include <QMenu>

#include "platform/PopupMenu.h"
#include "platform/FormEventsRelay.h"

namespace updater {

class QtPopupMenu : public IPopupMenu {
 public:
  explicit QtPopupMenu(FormEventsRelay& relay);

  void SetCaption(MenuCommand command, const std::string& caption) override;
  void SetEnabled(MenuCommand command, bool enabled) override;
  bool Enabled(MenuCommand command) const override;
  void SetRightToLeft(bool rightToLeft) override;
  void Popup() override;

 private:
  QAction* ActionOf(MenuCommand command) const;

  FormEventsRelay& relay_;
  QMenu menu_;
  QAction* pause_;
  QAction* continue_;
  QAction* cancel_;
};

}  // namespace updater
