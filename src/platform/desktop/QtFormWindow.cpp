#include "platform/desktop/QtFormWindow.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

namespace updater {

QtFormWindow::QtFormWindow(FormEventsRelay& relay) : relay_(relay) {
  window_.setWindowTitle(QStringLiteral("Updater"));
  window_.installEventFilter(this);
}

std::uint32_t QtFormWindow::hWnd() const { return static_cast<std::uint32_t>(window_.winId()); }

void QtFormWindow::Hide() { window_.hide(); }

std::int32_t QtFormWindow::WindowState() const {
  const Qt::WindowStates state = window_.windowState();
  if (state & Qt::WindowMinimized) return kWindowStateMinimized;
  if (state & Qt::WindowMaximized) return 2;
  return 0;
}

void QtFormWindow::SetForegroundWindow() {
  window_.raise();
  window_.activateWindow();
}

std::int32_t QtFormWindow::TwipsPerPixelX() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return TwipsPerPixelAt(screen != nullptr ? screen->logicalDotsPerInchX() : 0);
}

bool QtFormWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &window_ && (event->type() == QEvent::Resize || event->type() == QEvent::WindowStateChange))
    relay_.Deliver([](IFormEvents& form) { form.Form_Resize(); });
  return QObject::eventFilter(watched, event);
}

}  // namespace updater
