#include "platform/desktop/TrayPointerCodes.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>

#include "platform/NotifyShell.h"

namespace updater {
namespace {

using namespace wm;

int ReleaseCode(Qt::MouseButton button) { return button == Qt::LeftButton ? WM_LBUTTONUP : WM_RBUTTONUP; }

}  // namespace

TrayPointerCodes::TrayPointerCodes(std::function<void(int)> report) : report_(std::move(report)) {
  QCoreApplication::instance()->installEventFilter(this);
}

TrayPointerCodes::~TrayPointerCodes() {
  if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

void TrayPointerCodes::Activated(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger: Report(Qt::LeftButton, WM_LBUTTONDOWN); break;
    case QSystemTrayIcon::DoubleClick: Report(Qt::LeftButton, WM_LBUTTONDBLCLK); break;
    case QSystemTrayIcon::Context: Report(Qt::RightButton, WM_RBUTTONDOWN); break;
    default: break;
  }
}

// The XEmbed tray reports a click while its button goes down; the release that completes it is
// awaited, because the form acts on the release. A StatusNotifierItem host reports clicks that are
// over, with no button held in this program: both codes go at once.
void TrayPointerCodes::Report(Qt::MouseButton button, int firstCode) {
  report_(firstCode);
  if (QGuiApplication::mouseButtons() & button) {
    awaitedRelease_ = button;
  } else {
    report_(ReleaseCode(button));
  }
}

bool TrayPointerCodes::eventFilter(QObject* watched, QEvent* event) {
  if (awaitedRelease_ != Qt::NoButton && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == awaitedRelease_) {
    const int code = ReleaseCode(awaitedRelease_);
    awaitedRelease_ = Qt::NoButton;
    report_(code);
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace updater
