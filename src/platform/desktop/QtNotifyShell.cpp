#include "platform/desktop/QtNotifyShell.h"

#include <QPixmap>

#include "platform/desktop/DesktopNotification.h"
#include "platform/desktop/QtText.h"

namespace updater {

using namespace nid;

namespace {
// How long a balloon with time-out 0 stays, as the Windows shell does.
constexpr int kDefaultBalloonMs = 10000;

QString TextField(const NotifyIconRecord& record, std::size_t offset, std::size_t width) {
  return ToQt(ReadText(record, offset, width));
}

// An icon without picture shows as an empty place in the notification area.
QIcon PictureOrBlank(const QIcon& picture) {
  if (!picture.isNull()) return picture;
  QPixmap blank(16, 16);
  blank.fill(Qt::transparent);
  return QIcon(blank);
}

QSystemTrayIcon::MessageIcon BalloonKind(std::uint32_t infoFlags) {
  switch (infoFlags) {
    case NIIF_INFO: return QSystemTrayIcon::Information;
    case NIIF_ERROR: return QSystemTrayIcon::Critical;
    default: return QSystemTrayIcon::NoIcon;
  }
}

}  // namespace

QtNotifyShell::QtNotifyShell(const IconRegistry& icons, const IScreen& screen, FormEventsRelay& relay)
    : icons_(icons), screen_(screen), relay_(relay), pointer_([this](int code) { PostPointerCode(code); }) {
  QObject::connect(&tray_, &QSystemTrayIcon::activated,
                   [this](QSystemTrayIcon::ActivationReason reason) { pointer_.Activated(reason); });
}

bool QtNotifyShell::Shell_NotifyIcon(std::uint32_t message, const NotifyIconRecord& record, const NotifyIconTexts&) {
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
  if (flags & NIF_MESSAGE) callbackMessage_ = ReadU32(record, kCallbackMessage);
  if (flags & NIF_ICON) tray_.setIcon(PictureOrBlank(icons_.Find(ReadU32(record, kIcon))));
  if (flags & NIF_TIP) tray_.setToolTip(TextField(record, kTip, kTipWidth));
  if (flags & NIF_STATE) {
    const std::uint32_t mask = ReadU32(record, kStateMask);
    if (mask & NIS_HIDDEN) hidden_ = (ReadU32(record, kState) & NIS_HIDDEN) != 0;
    tray_.setVisible(added_ && !hidden_);
  }
  if (flags & NIF_INFO) ShowBalloon(record);
}

// Where no tray host runs, nobody can see the icon or click it. The balloon then goes to the
// desktop's notification service, and an error balloon, after which the program waits for a click on
// the icon, is followed by that left click, posted to the form, so that what the form does on the
// click (ask whether to try again) comes at once.
void QtNotifyShell::ShowBalloon(const NotifyIconRecord& record) {
  const QString title = TextField(record, kInfoTitle, kInfoTitleWidth);
  const QString text = TextField(record, kInfo, kInfoWidth);
  const std::uint32_t infoFlags = ReadU32(record, kInfoFlags);
  const auto timeout = static_cast<int>(ReadU32(record, kTimeoutOrVersion));
  const int shownMs = timeout > 0 ? timeout : kDefaultBalloonMs;
  if (QSystemTrayIcon::isSystemTrayAvailable()) {
    tray_.showMessage(title, text, BalloonKind(infoFlags), shownMs);
    return;
  }
  SendDesktopNotification(title, text, BalloonKind(infoFlags), shownMs);
  if (infoFlags == NIIF_ERROR) PostPointerCode(wm::WM_LBUTTONUP);
}

// The shell posts pointer activity to the owner window as the callback message; the form receives
// the pointer-move message, with the code as its horizontal position in twips.
void QtNotifyShell::PostPointerCode(int code) {
  // The form can only receive the pointer-move message.
  if (callbackMessage_ != static_cast<std::uint32_t>(wm::WM_MOUSEMOVE)) return;
  const float x = static_cast<float>(code * screen_.TwipsPerPixelX());
  QMetaObject::invokeMethod(
      this, [this, x] { relay_.Deliver([x](IFormEvents& form) { form.Form_MouseMove(x); }); }, Qt::QueuedConnection);
}

}  // namespace updater
