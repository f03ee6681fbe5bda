#pragma once
// The desktop shell's notification area, fed with the Windows notification record
// (NOTIFYICONDATAA, long form: 504 bytes, numbers 32-bit little-endian, texts UTF-8).

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace updater {

using NotifyIconRecord = std::array<std::uint8_t, 504>;

// The record's three texts whole, with their line breaks made: a shell whose fields count characters,
// not the record's bytes, cuts them itself.
struct NotifyIconTexts {
  std::string tip;
  std::string info;
  std::string infoTitle;
};

namespace nid {
// Field offsets and widths.
inline constexpr std::size_t kCbSize = 0;
inline constexpr std::size_t kHwnd = 4;
inline constexpr std::size_t kUid = 8;
inline constexpr std::size_t kFlags = 12;
inline constexpr std::size_t kCallbackMessage = 16;
inline constexpr std::size_t kIcon = 20;
inline constexpr std::size_t kTip = 24;
inline constexpr std::size_t kTipWidth = 128;
inline constexpr std::size_t kState = 152;
inline constexpr std::size_t kStateMask = 156;
inline constexpr std::size_t kInfo = 160;
inline constexpr std::size_t kInfoWidth = 256;
inline constexpr std::size_t kTimeoutOrVersion = 416;
inline constexpr std::size_t kInfoTitle = 420;
inline constexpr std::size_t kInfoTitleWidth = 64;
inline constexpr std::size_t kInfoFlags = 484;
inline constexpr std::size_t kGuidItem = 488;

// uFlags groups.
inline constexpr std::uint32_t NIF_MESSAGE = 1;
inline constexpr std::uint32_t NIF_ICON = 2;
inline constexpr std::uint32_t NIF_TIP = 4;
inline constexpr std::uint32_t NIF_STATE = 8;
inline constexpr std::uint32_t NIF_INFO = 16;

// State bits.
inline constexpr std::uint32_t NIS_HIDDEN = 1;
inline constexpr std::uint32_t NIS_SHAREDICON = 2;

// Balloon icons.
inline constexpr std::uint32_t NIIF_INFO = 1;
inline constexpr std::uint32_t NIIF_ERROR = 3;

// Requests.
inline constexpr std::uint32_t NIM_ADD = 0;
inline constexpr std::uint32_t NIM_MODIFY = 1;
inline constexpr std::uint32_t NIM_DELETE = 2;
inline constexpr std::uint32_t NIM_SETVERSION = 4;

inline constexpr std::uint32_t NOTIFYICON_VERSION = 3;

inline std::uint32_t ReadU32(const NotifyIconRecord& r, std::size_t offset) {
  return static_cast<std::uint32_t>(r[offset]) | static_cast<std::uint32_t>(r[offset + 1]) << 8 |
         static_cast<std::uint32_t>(r[offset + 2]) << 16 | static_cast<std::uint32_t>(r[offset + 3]) << 24;
}

// The text of a field: its bytes up to the first NUL, or all width of them.
inline std::string_view ReadText(const NotifyIconRecord& r, std::size_t offset, std::size_t width) {
  const std::string_view field(reinterpret_cast<const char*>(r.data() + offset), width);
  return field.substr(0, field.find('\0'));
}

inline void WriteU32(NotifyIconRecord& r, std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) r[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}
}  // namespace nid

// The window messages by which the shell reports pointer activity on the icon: the callback message
// the form registers, and the pointer codes it carries.
namespace wm {
inline constexpr std::int32_t WM_MOUSEMOVE = 512;
inline constexpr std::int32_t WM_LBUTTONDOWN = 513;
inline constexpr std::int32_t WM_LBUTTONUP = 514;
inline constexpr std::int32_t WM_LBUTTONDBLCLK = 515;
inline constexpr std::int32_t WM_RBUTTONDOWN = 516;
inline constexpr std::int32_t WM_RBUTTONUP = 517;
inline constexpr std::int32_t WM_RBUTTONDBLCLK = 518;
}  // namespace wm

class INotifyShell {
 public:
  virtual ~INotifyShell() = default;
  // Carries out one request (NIM_*) with the record and its texts; the answer tells whether the shell took it.
  virtual bool Shell_NotifyIcon(std::uint32_t message, const NotifyIconRecord& record,
                                const NotifyIconTexts& texts) = 0;
};

}  // namespace updater
