#pragma once
// The program's hidden form window: owner of the tray icon, the menus and the message boxes.

#include <cstdint>

namespace updater {

inline constexpr std::int32_t kWindowStateMinimized = 1;

class IFormWindow {
 public:
  virtual ~IFormWindow() = default;
  // Native handle of the window, 32 bits wide.
  virtual std::uint32_t hWnd() const = 0;
  virtual void Hide() = 0;
  // 0 normal, 1 minimised, 2 maximised.
  virtual std::int32_t WindowState() const = 0;
  // Brings the window to the front so that a menu or question comes up above other windows.
  virtual void SetForegroundWindow() = 0;
};

}  // namespace updater
