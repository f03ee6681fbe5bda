#pragma once
// Modal message boxes owned by the hidden form (or by no window, before it is made), with the texts in UTF-16.

#include "platform/MessageBox.h"
#include "platform/windows/WindowsFormWindow.h"

namespace updater {

class WindowsMessageBox : public IMessageBox {
 public:
  explicit WindowsMessageBox(const WindowsFormWindow* owner = nullptr) : owner_(owner) {}
  // The style and the answer are the system's own message-box numbers.
  std::int32_t MsgBox(const std::string& prompt, std::int32_t style, const std::string& title) override;

 private:
  const WindowsFormWindow* owner_;
};

}  // namespace updater
