#include "platform/windows/WindowsPopupMenu.h"

#include <windows.h>

#include "platform/windows/WideText.h"
#include "platform/windows/Win32Fault.h"

namespace updater {
namespace {

// Menu item ids: 1 Pause, 2 Continue, 3 Cancel download; 0 is what the menu returns when nothing was chosen.
UINT IdOf(MenuCommand command) { return static_cast<UINT>(command) + 1; }

}  // namespace

WindowsPopupMenu::WindowsPopupMenu(const WindowsFormWindow& owner, FormEventsRelay& relay)
    : owner_(owner), relay_(relay), menu_(CreatePopupMenu()) {
  if (!menu_) RaiseWin32Fault();
  for (MenuCommand command : kMenuCommands) {
    if (command == MenuCommand::Cancel) AppendMenuW(menu_.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu_.get(), MF_STRING, IdOf(command), Wide(DefaultMenuCaption(command)).c_str());
  }
}

void WindowsPopupMenu::SetCaption(MenuCommand command, const std::string& caption) {
  std::wstring text = Wide(caption);
  MENUITEMINFOW item{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_STRING;
  item.dwTypeData = text.data();
  SetMenuItemInfoW(menu_.get(), IdOf(command), FALSE, &item);
}

void WindowsPopupMenu::SetEnabled(MenuCommand command, bool enabled) {
  EnableMenuItem(menu_.get(), IdOf(command), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

bool WindowsPopupMenu::Enabled(MenuCommand command) const {
  return (GetMenuState(menu_.get(), IdOf(command), MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0;
}

// The form has brought its window to the foreground before, so that the menu closes when the user
// clicks elsewhere; the empty message afterwards lets the menu close properly, as the shell asks of
// notification-area menus. The chosen command reaches the form before this returns.
void WindowsPopupMenu::Popup() {
  POINT pointer{};
  GetCursorPos(&pointer);
  const UINT layout = rightToLeft_ ? TPM_LAYOUTRTL : 0;
  const auto chosen = static_cast<UINT>(
      TrackPopupMenu(menu_.get(), TPM_RETURNCMD | layout, pointer.x, pointer.y, 0, owner_.Handle(), nullptr));
  PostMessageW(owner_.Handle(), WM_NULL, 0, 0);
  for (MenuCommand command : kMenuCommands) {
    if (chosen == IdOf(command)) relay_.Deliver([command](IFormEvents& form) { form.MenuClick(command); });
  }
}

}  // namespace updater
