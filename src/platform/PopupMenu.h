#pragma once
// The tray icon's popup menu: Pause, Continue, a separator and Cancel download.

#include <string>

namespace updater {

enum class MenuCommand { Pause, Continue, Cancel };

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
