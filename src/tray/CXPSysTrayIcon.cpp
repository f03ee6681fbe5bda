#include "tray/CXPSysTrayIcon.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "text/Fault.h"
#include "tray/TrayText.h"

namespace updater {

using namespace nid;

CXPSysTrayIcon::CXPSysTrayIcon(INotifyShell& shell, ILocaleClock& clock, const IScreen& screen,
                               ITrayIconEvents& events)
    : shell_(shell), screen_(screen), events_(events) {
  WriteU32(notifyData_, kCbSize, static_cast<std::uint32_t>(notifyData_.size()));
  const double hundredths = std::nearbyint(clock.SecondsSinceMidnight() * 100.0);
  WriteU32(notifyData_, kUid, static_cast<std::uint32_t>(static_cast<std::int32_t>(hundredths)));
}

CXPSysTrayIcon::~CXPSysTrayIcon() { Visible(false); }

void CXPSysTrayIcon::Send(std::uint32_t request) { shell_.Shell_NotifyIcon(request, notifyData_, texts_); }

void CXPSysTrayIcon::SetFlags(std::uint32_t flags) { WriteU32(notifyData_, kFlags, flags); }

void CXPSysTrayIcon::SetText(std::size_t offset, std::size_t width, const std::string& text, std::string& whole) {
  whole = TrayLineBreaks(text);
  const std::string field = TrayFieldText(text, width);
  std::copy(field.begin(), field.end(), notifyData_.begin() + static_cast<std::ptrdiff_t>(offset));
}

void CXPSysTrayIcon::CallBackEvent(std::int32_t eventId) {
  WriteU32(notifyData_, kCallbackMessage, static_cast<std::uint32_t>(eventId));
  if (!iconVisible_) return;
  SetFlags(NIF_MESSAGE);
  Send(NIM_MODIFY);
}

void CXPSysTrayIcon::Icon(std::uint32_t newIcon) {
  WriteU32(notifyData_, kIcon, newIcon);
  if (!iconVisible_) return;
  SetFlags(NIF_ICON);
  Send(NIM_MODIFY);
}

void CXPSysTrayIcon::HiddenIcon(bool isHidden) {
  WriteU32(notifyData_, kState, isHidden ? NIS_HIDDEN : 0);
  WriteU32(notifyData_, kStateMask, NIS_HIDDEN);
  SetFlags(NIF_STATE);
  Send(NIM_MODIFY);
}

void CXPSysTrayIcon::SharedIcon(bool isShared) {
  WriteU32(notifyData_, kState, isShared ? NIS_SHAREDICON : 0);
  WriteU32(notifyData_, kStateMask, NIS_SHAREDICON);
  SetFlags(NIF_STATE);
  Send(NIM_MODIFY);
}

void CXPSysTrayIcon::ToolTip(const std::string& newToolTip) {
  SetText(kTip, kTipWidth, newToolTip, texts_.tip);
  if (!iconVisible_) return;
  SetFlags(NIF_TIP);
  Send(NIM_MODIFY);
}

void CXPSysTrayIcon::ShowBaloon(const std::string& message, const std::string& caption, std::int32_t timeOut,
                                std::int32_t baloonIcon) {
  if (!iconVisible_) return;
  SetText(kInfo, kInfoWidth, message, texts_.info);
  SetText(kInfoTitle, kInfoTitleWidth, caption, texts_.infoTitle);
  WriteU32(notifyData_, kTimeoutOrVersion, static_cast<std::uint32_t>(timeOut));
  WriteU32(notifyData_, kInfoFlags, static_cast<std::uint32_t>(baloonIcon));
  SetFlags(NIF_INFO);
  Send(NIM_MODIFY);
}

void CXPSysTrayIcon::Visible(bool isVisible) {
  if (isVisible == iconVisible_) return;
  if (isVisible) {
    WriteU32(notifyData_, kState, 0);
    WriteU32(notifyData_, kStateMask, NIS_HIDDEN | NIS_SHAREDICON);
    SetFlags(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_STATE);
    WriteU32(notifyData_, kTimeoutOrVersion, NOTIFYICON_VERSION);
    Send(NIM_ADD);
    Send(NIM_SETVERSION);
  } else {
    Send(NIM_DELETE);
  }
  iconVisible_ = isVisible;
}

void CXPSysTrayIcon::Owner(std::uint32_t targetHwnd) { WriteU32(notifyData_, kHwnd, targetHwnd); }

std::int32_t CXPSysTrayIcon::IconID() const { return static_cast<std::int32_t>(ReadU32(notifyData_, kUid)); }

void CXPSysTrayIcon::MouseMoveHandler(float x, std::int32_t ownerScaleMode) {
  const double pixels = ownerScaleMode == kScaleModePixels ? x : static_cast<double>(x) / screen_.TwipsPerPixelX();
  const double rounded = std::nearbyint(pixels);
  if (!(rounded >= INT32_MIN && rounded <= INT32_MAX)) RaiseFault(FaultNumber::Overflow);
  const auto code = static_cast<std::int32_t>(rounded);
  std::int32_t button = 0;
  switch (code) {
    case wm::WM_LBUTTONUP:
      button = 1;
      events_.ButtonClick(button);
      break;
    case wm::WM_LBUTTONDBLCLK:
      button = 1;
      events_.ButtonDblClick(button);
      break;
    case wm::WM_RBUTTONUP:
      button = 2;
      events_.ButtonClick(button);
      break;
    case wm::WM_RBUTTONDBLCLK:
      button = 2;
      events_.ButtonDblClick(button);
      break;
    default:
      break;
  }
}

}  // namespace updater
