#pragma once
// The Windows shell's notification area, fed with the record the tray logic builds. The texts go to
// the shell in UTF-16 through the wide call, so every character of the string table shows whatever
// the ANSI code page, cut to the characters the wide fields hold (not to the record's UTF-8 bytes);
// the numbers go into the native record of the running system, whose layout differs on 64-bit Windows.

#include "platform/NotifyShell.h"
#include "platform/windows/ShellNotifyIcon.h"

namespace updater {

// The request the record and its texts make.
ShellIconRequest NotifyRequest(const NotifyIconRecord& record, const NotifyIconTexts& texts);

class WindowsNotifyShell : public INotifyShell {
 public:
  bool Shell_NotifyIcon(std::uint32_t message, const NotifyIconRecord& record, const NotifyIconTexts& texts) override;
};

}  // namespace updater
