#include "platform/desktop/QtEventLoop.h"

#include <QCoreApplication>
#include <thread>

namespace updater {

void QtEventLoop::DoEvents() {
  const auto now = std::chrono::steady_clock::now();
  if (now < nextCheck_) return;
  QCoreApplication::processEvents();
  nextCheck_ = std::chrono::steady_clock::now() + kEventCheckInterval;
}

void QtEventLoop::Sleep(std::uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void QtEventLoop::Quit() {
  quitting_ = true;
  QCoreApplication::exit(0);
}

int QtEventLoop::Run() {
  if (quitting_) return 0;
  return QCoreApplication::exec();
}

}  // namespace updater
