#include "platform/windows/WindowsEventLoop.h"

#include <windows.h>

namespace updater {

void WindowsEventLoop::DoEvents() {
  const std::uint64_t tick = GetTickCount64();
  if (tick == lastTick_) return;
  lastTick_ = tick;
  MSG message;
  for (int i = 0; i < kMaxMessages && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (message.message == WM_QUIT) {
      quitting_ = true;
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void WindowsEventLoop::Sleep(std::uint32_t ms) { ::Sleep(ms); }

void WindowsEventLoop::Quit() {
  quitting_ = true;
  PostQuitMessage(0);
}

int WindowsEventLoop::Run() {
  MSG message;
  while (!quitting_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace updater
