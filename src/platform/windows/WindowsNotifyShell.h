#pragma once
// The Windows shell's notification area, fed with the record the tray logic builds. The record's
// texts are UTF-8; the shell gets them in UTF-16 through the wide call, so every character of the
// string table shows whatever the ANSI code page, and the numbers go into the native record of the
// running system, whose layout differs on 64-bit Windows.

#include "platform/NotifyShell.h"

namespace updater {

class WindowsNotifyShell : public INotifyShell {
 public:
  bool Shell_NotifyIcon(std::uint32_t message, const NotifyIconRecord& record) override;
};

}  // namespace updater
