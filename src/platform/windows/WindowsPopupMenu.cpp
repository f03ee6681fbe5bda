#include "platform/windows/WindowsPopupMenu.h"

#include <windows.h>

#include <system_error>

#include "platform/windows/WideText.h"

namespace updater {
namespace {

constexpr MenuCommand kCommands[] = {MenuCommand::Pause, MenuCommand::Continue, MenuCommand::Cancel};

// Menu item ids: 1 Pause, 2 Continue, 3 Cancel download; 0 is what the menu returns when nothing was chosen.
UINT IdOf(MenuCommand command) { return static_cast<UINT>(command) + 1; }

}  // namespace

WindowsPopupMenu::WindowsPopupMenu(const WindowsFormWindow& owner, FormEventsRelay& relay)
    : owner_(owner), relay_(relay), menu_(CreatePopupMenu()) {
  if (!menu_) throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "CreatePopupMenu");
  AppendMenuW(menu_.get(), MF_STRING, IdOf(MenuCommand::Pause), L"&Pause download");
  AppendMenuW(menu_.get(), MF_STRING, IdOf(MenuCommand::Continue), L"&Continue");
  AppendMenuW(menu_.get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu_.get(), MF_STRING, IdOf(MenuCommand::Cancel), L"&Cancel download");
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
  for (MenuCommand command : kCommands) {
    if (chosen == IdOf(command)) relay_.Deliver([command](IFormEvents& form) { form.MenuClick(command); });
  }
}

}  // namespace updater
