#include "platform/windows/WindowsNotifyShell.h"

namespace updater {

using namespace nid;

ShellIconRequest NotifyRequest(const NotifyIconRecord& record, const NotifyIconTexts& texts) {
  ShellIconRequest request;
  request.window = ReadU32(record, kHwnd);
  request.id = ReadU32(record, kUid);
  request.flags = ReadU32(record, kFlags);
  request.callbackMessage = ReadU32(record, kCallbackMessage);
  request.icon = ReadU32(record, kIcon);
  request.tip = texts.tip;
  request.state = ReadU32(record, kState);
  request.stateMask = ReadU32(record, kStateMask);
  request.info = texts.info;
  request.timeoutOrVersion = ReadU32(record, kTimeoutOrVersion);
  request.infoTitle = texts.infoTitle;
  request.infoFlags = ReadU32(record, kInfoFlags);
  return request;
}

bool WindowsNotifyShell::Shell_NotifyIcon(std::uint32_t message, const NotifyIconRecord& record,
                                          const NotifyIconTexts& texts) {
  return CallShellNotifyIconW(message, NotifyRequest(record, texts));
}

}  // namespace updater
