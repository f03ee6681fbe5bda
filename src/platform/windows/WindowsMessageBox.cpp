#include "platform/windows/WindowsMessageBox.h"

#include <windows.h>

#include "platform/windows/WideText.h"

namespace updater {

static_assert(msgbox::kRight == MB_RIGHT && msgbox::kRtlReading == MB_RTLREADING);

std::int32_t WindowsMessageBox::MsgBox(const std::string& prompt, std::int32_t style, const std::string& title) {
  return MessageBoxW(owner_ != nullptr ? owner_->Handle() : nullptr, Wide(prompt).c_str(), Wide(title).c_str(), static_cast<UINT>(style));
}

}  // namespace updater
