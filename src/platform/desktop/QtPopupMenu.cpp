#include "platform/desktop/QtPopupMenu.h"

#include <QCursor>

#include "platform/desktop/QtText.h"

namespace updater {

QtPopupMenu::QtPopupMenu(FormEventsRelay& relay)
    : relay_(relay),
      pause_(menu_.addAction(DefaultMenuCaption(MenuCommand::Pause))),
      continue_(menu_.addAction(DefaultMenuCaption(MenuCommand::Continue))) {
  menu_.addSeparator();
  cancel_ = menu_.addAction(DefaultMenuCaption(MenuCommand::Cancel));
}

QAction* QtPopupMenu::ActionOf(MenuCommand command) const {
  switch (command) {
    case MenuCommand::Pause: return pause_;
    case MenuCommand::Continue: return continue_;
    case MenuCommand::Cancel: return cancel_;
  }
  return cancel_;
}

void QtPopupMenu::SetCaption(MenuCommand command, const std::string& caption) {
  ActionOf(command)->setText(ToQt(caption));
}

void QtPopupMenu::SetEnabled(MenuCommand command, bool enabled) { ActionOf(command)->setEnabled(enabled); }

bool QtPopupMenu::Enabled(MenuCommand command) const { return ActionOf(command)->isEnabled(); }

void QtPopupMenu::SetRightToLeft(bool rightToLeft) {
  menu_.setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
}

void QtPopupMenu::Popup() {
  const QAction* chosen = menu_.exec(QCursor::pos());
  for (MenuCommand command : kMenuCommands) {
    if (chosen == ActionOf(command)) relay_.Deliver([command](IFormEvents& form) { form.MenuClick(command); });
  }
}

}  // namespace updater
