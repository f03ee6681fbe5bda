#include "platform/desktop/QtEventLoop.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <thread>

namespace updater {

void QtEventLoop::DoEvents() {
  const auto now = CoarseClock::now();
  if (now < nextCheck_) return;
  // One event often leads to more that are due at once (a button press, the click it makes, the
  // menu that opens), so the queue is run until it is empty, in a bounded number of rounds.
  QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
  for (int round = 0; round < kMaxRounds && dispatcher->processEvents(QEventLoop::AllEvents); ++round) {
  }
  nextCheck_ = CoarseClock::now() + kEventCheckInterval;
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
