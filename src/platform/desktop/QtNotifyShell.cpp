#include "platform/desktop/QtNotifyShell.h"

#include <algorithm>
#include <string_view>

#include "platform/desktop/QtText.h"

namespace updater {

using namespace nid;

namespace {

// Pointer codes of the shell's callback message.
constexpr int kLeftButtonUp = 514;
constexpr int kLeftButtonDoubleClick = 515;
constexpr int kRightButtonUp = 517;

// How long a balloon with time-out 0 stays, as the Windows shell does.
constexpr int kDefaultBalloonMs = 10000;

QString TextField(const NotifyIconRecord& record, std::size_t offset, std::size_t width) {
  const auto* begin = reinterpret_cast<const char*>(record.data() + offset);
  const std::string_view field(begin, width);
  return ToQt(field.substr(0, std::min(field.find('\0'), width)));
}

}  // namespace

QtNotifyShell::QtNotifyShell(const IconRegistry& icons, const IScreen& screen, FormEventsRelay& relay)
    : icons_(icons), screen_(screen), relay_(relay) {
  QObject::connect(&tray_, &QSystemTrayIcon::activated,
                   [this](QSystemTrayIcon::ActivationReason reason) { Activated(reason); });
}

bool QtNotifyShell::Shell_NotifyIcon(std::uint32_t message, const NotifyIconRecord& record) {
  switch (message) {
    case NIM_ADD:
      added_ = true;
      hidden_ = false;
      Apply(ReadU32(record, kFlags), record);
      tray_.setVisible(!hidden_);
      return true;
    case NIM_MODIFY:
      if (!added_) return false;
      Apply(ReadU32(record, kFlags), record);
      return true;
    case NIM_DELETE:
      if (!added_) return false;
      added_ = false;
      tray_.hide();
      return true;
    case NIM_SETVERSION:
      return added_;
    default:
      return false;
  }
}

void QtNotifyShell::Apply(std::uint32_t flags, const NotifyIconRecord& record) {
  if (flags & NIF_ICON) tray_.setIcon(icons_.Find(ReadU32(record, kIcon)));
  if (flags & NIF_TIP) tray_.setToolTip(TextField(record, kTip, kTipWidth));
  if (flags & NIF_STATE) {
    const std::uint32_t mask = ReadU32(record, kStateMask);
    if (mask & NIS_HIDDEN) hidden_ = (ReadU32(record, kState) & NIS_HIDDEN) != 0;
    tray_.setVisible(added_ && !hidden_);
  }
  if (flags & NIF_INFO) {
    const auto kind = ReadU32(record, kInfoFlags) == NIIF_ERROR ? QSystemTrayIcon::Critical
                      : ReadU32(record, kInfoFlags) == NIIF_INFO ? QSystemTrayIcon::Information
                                                                  : QSystemTrayIcon::NoIcon;
    const auto timeout = static_cast<int>(ReadU32(record, kTimeoutOrVersion));
    tray_.showMessage(TextField(record, kInfoTitle, kInfoTitleWidth), TextField(record, kInfo, kInfoWidth), kind,
                      timeout > 0 ? timeout : kDefaultBalloonMs);
  }
}

void QtNotifyShell::Activated(QSystemTrayIcon::ActivationReason reason) {
  int code = 0;
  switch (reason) {
    case QSystemTrayIcon::Trigger: code = kLeftButtonUp; break;
    case QSystemTrayIcon::DoubleClick: code = kLeftButtonDoubleClick; break;
    case QSystemTrayIcon::Context: code = kRightButtonUp; break;
    default: return;
  }
  const float x = static_cast<float>(code * screen_.TwipsPerPixelX());
  relay_.Deliver([x](IFormEvents& form) { form.Form_MouseMove(x); });
}

}  // namespace updater
