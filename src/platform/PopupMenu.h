#pragma once
// The tray icon's popup menu: Pause, Continue, a separator and Cancel download.

#include <string>

namespace updater {

enum class MenuCommand { Pause, Continue, Cancel };

// The menu's commands in their order, and their captions until the form sets its own.
inline constexpr MenuCommand kMenuCommands[] = {MenuCommand::Pause, MenuCommand::Continue, MenuCommand::Cancel};
inline const char* DefaultMenuCaption(MenuCommand command) {
  switch (command) {
    case MenuCommand::Pause: return "&Pause download";
    case MenuCommand::Continue: return "&Continue";
    case MenuCommand::Cancel: break;
  }
  return "&Cancel download";
}

class IPopupMenu {
 public:
  virtual ~IPopupMenu() = default;
  // Caption with "&" before the access key.
  virtual void SetCaption(MenuCommand command, const std::string& caption) = 0;
  virtual void SetEnabled(MenuCommand command, bool enabled) = 0;
  virtual bool Enabled(MenuCommand command) const = 0;
  // Lays the menu out from the right, for the languages written right to left.
  virtual void SetRightToLeft(bool rightToLeft) = 0;
  // Shows the menu at the pointer and returns once it has closed; a command chosen in it has
  // been delivered to the form's MenuClick by then.
  virtual void Popup() = 0;
};

}  // namespace updater
