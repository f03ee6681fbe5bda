#include "platform/windows/WindowsFormWindow.h"

#include <windows.h>
#include <windowsx.h>

#include "platform/windows/Win32Fault.h"

namespace updater {
namespace {

constexpr wchar_t kClassName[] = L"UpdaterForm";

LRESULT CALLBACK FormProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* form = reinterpret_cast<WindowsFormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (form != nullptr && form->Handle() == window && form->Receive(message, lParam)) return 0;
  return DefWindowProcW(window, message, wParam, lParam);
}

std::int32_t ScreenTwipsPerPixelX() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return TwipsPerPixelAt(dpi);
}

}  // namespace

WindowsFormWindow::WindowsFormWindow(FormEventsRelay& relay) : relay_(relay), twipsPerPixelX_(ScreenTwipsPerPixelX()) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = FormProcedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kClassName;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  if (RegisterClassExW(&windowClass) == 0) RaiseWin32Fault();
  window_.reset(CreateWindowExW(0, kClassName, L"Updater", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this));
  if (!window_) {
    const DWORD error = GetLastError();
    UnregisterClassW(kClassName, instance);
    RaiseWin32Fault(error);
  }
}

WindowsFormWindow::~WindowsFormWindow() {
  window_.reset();
  UnregisterClassW(kClassName, GetModuleHandleW(nullptr));
}

void WindowsFormWindow::Hide() { ShowWindow(window_.get(), SW_HIDE); }

std::int32_t WindowsFormWindow::WindowState() const {
  if (IsIconic(window_.get())) return kWindowStateMinimized;
  if (IsZoomed(window_.get())) return 2;
  return 0;
}

void WindowsFormWindow::SetForegroundWindow() { ::SetForegroundWindow(window_.get()); }

// The shell reports the icon's pointer activity as the callback message the form registered, the
// pointer-move message, whose horizontal position is the code of the pointer event; the form hears
// it in twips, as it hears any pointer move.
bool WindowsFormWindow::Receive(unsigned message, std::intptr_t lParam) {
  switch (message) {
    case WM_MOUSEMOVE: {
      const float x = static_cast<float>(GET_X_LPARAM(lParam) * twipsPerPixelX_);
      relay_.Deliver([x](IFormEvents& form) { form.Form_MouseMove(x); });
      return true;
    }
    case WM_TIMER: relay_.Deliver([](IFormEvents& form) { form.tmrTrayAnim_Timer(); }); return true;
    case WM_SIZE: relay_.Deliver([](IFormEvents& form) { form.Form_Resize(); }); return true;
    default: return false;
  }
}

}  // namespace updater
