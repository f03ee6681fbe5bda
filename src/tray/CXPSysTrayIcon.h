#pragma once
// The program's icon in the notification area. It keeps one notification record that mirrors what
// the shell has been told; each property changes one group of fields and, while the icon is shown,
// sends only that group. Pointer codes reported by the shell come back as click events.

#include <cstdint>
#include <string>

#include "platform/LocaleClock.h"
#include "platform/NotifyShell.h"
#include "platform/Screen.h"

namespace updater {

inline constexpr std::int32_t kScaleModePixels = 3;
inline constexpr std::int32_t kScaleModeTwips = 1;

// Receives the icon's click events; button 1 is the left, 2 the right mouse button.
class ITrayIconEvents {
 public:
  virtual ~ITrayIconEvents() = default;
  virtual void ButtonClick(std::int32_t& button) = 0;
  virtual void ButtonDblClick(std::int32_t& button) = 0;
};

class CXPSysTrayIcon {
 public:
  // The id is the hundredths of a second of the local time of day at creation.
  CXPSysTrayIcon(INotifyShell& shell, ILocaleClock& clock, const IScreen& screen, ITrayIconEvents& events);
  // Removes the icon from the notification area if it is shown.
  ~CXPSysTrayIcon();
  CXPSysTrayIcon(const CXPSysTrayIcon&) = delete;
  CXPSysTrayIcon& operator=(const CXPSysTrayIcon&) = delete;

  void CallBackEvent(std::int32_t eventId);
  // Native handle of the picture to show.
  void Icon(std::uint32_t newIcon);
  void HiddenIcon(bool isHidden);
  void SharedIcon(bool isShared);
  void ToolTip(const std::string& newToolTip);
  // A balloon asked for while the icon is hidden is dropped.
  void ShowBaloon(const std::string& message, const std::string& caption, std::int32_t timeOut,
                  std::int32_t baloonIcon);
  bool Visible() const { return iconVisible_; }
  void Visible(bool isVisible);
  void Owner(std::uint32_t targetHwnd);
  std::int32_t IconID() const;

  // Recovers the shell's pointer code from x, given in the owner's scale mode, and raises the event.
  void MouseMoveHandler(float x, std::int32_t ownerScaleMode);

 private:
  void Send(std::uint32_t request);
  void SetFlags(std::uint32_t flags);
  // Puts text into its record field and, whole, into its place of the texts.
  void SetText(std::size_t offset, std::size_t width, const std::string& text, std::string& whole);

  INotifyShell& shell_;
  const IScreen& screen_;
  ITrayIconEvents& events_;
  NotifyIconRecord notifyData_{};
  NotifyIconTexts texts_;
  bool iconVisible_ = false;
};

}  // namespace updater
