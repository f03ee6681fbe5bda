#pragma once
// The program's hidden form: a top-level window that is never shown. It owns the tray icon (the shell
// posts the icon's pointer activity to it), the popup menu and the message boxes, and takes the
// foreground for them, which a message-only window cannot. Its window procedure hands the pointer
// callback, the timer and size changes to the form.

#include <cstdint>

#include "platform/FormEventsRelay.h"
#include "platform/FormWindow.h"
#include "platform/Screen.h"
#include "platform/windows/UserHandles.h"

namespace updater {

class WindowsFormWindow : public IFormWindow, public IScreen {
 public:
  // Faults with the system's error when the window cannot be made (no window station or display).
  explicit WindowsFormWindow(FormEventsRelay& relay);
  ~WindowsFormWindow() override;
  WindowsFormWindow(const WindowsFormWindow&) = delete;
  WindowsFormWindow& operator=(const WindowsFormWindow&) = delete;

  HWND__* Handle() const { return window_.get(); }

  std::uint32_t hWnd() const override { return HandleNumber(window_.get()); }
  void Hide() override;
  std::int32_t WindowState() const override;
  void SetForegroundWindow() override;
  std::int32_t TwipsPerPixelX() const override { return twipsPerPixelX_; }

  // The window procedure's part for this window; false for messages left to the default procedure.
  bool Receive(unsigned message, std::intptr_t lParam);

 private:
  FormEventsRelay& relay_;
  std::int32_t twipsPerPixelX_;
  UniqueWindow window_;
};

}  // namespace updater
