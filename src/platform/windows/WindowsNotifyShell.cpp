#include "platform/windows/WindowsNotifyShell.h"

#include "platform/windows/ShellNotifyIcon.h"

namespace updater {

using namespace nid;

bool WindowsNotifyShell::Shell_NotifyIcon(std::uint32_t message, const NotifyIconRecord& record) {
  ShellIconRequest request;
  request.window = ReadU32(record, kHwnd);
  request.id = ReadU32(record, kUid);
  request.flags = ReadU32(record, kFlags);
  request.callbackMessage = ReadU32(record, kCallbackMessage);
  request.icon = ReadU32(record, kIcon);
  request.tip = std::string(ReadText(record, kTip, kTipWidth));
  request.state = ReadU32(record, kState);
  request.stateMask = ReadU32(record, kStateMask);
  request.info = std::string(ReadText(record, kInfo, kInfoWidth));
  request.timeoutOrVersion = ReadU32(record, kTimeoutOrVersion);
  request.infoTitle = std::string(ReadText(record, kInfoTitle, kInfoTitleWidth));
  request.infoFlags = ReadU32(record, kInfoFlags);
  return CallShellNotifyIconW(message, request);
}

}  // namespace updater
