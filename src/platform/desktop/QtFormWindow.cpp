#include "platform/desktop/QtFormWindow.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

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
  const double dpi = screen != nullptr ? screen->logicalDotsPerInchX() : 96.0;
  return std::max(1, static_cast<int>(std::lround(1440.0 / (dpi > 0 ? dpi : 96.0))));
}

bool QtFormWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &window_ && (event->type() == QEvent::Resize || event->type() == QEvent::WindowStateChange))
    relay_.Deliver([](IFormEvents& form) { form.Form_Resize(); });
  return QObject::eventFilter(watched, event);
}

}  // namespace updater
