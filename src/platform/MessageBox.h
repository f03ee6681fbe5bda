#pragma once
// Modal message boxes owned by the program's hidden window.

#include <cstdint>
#include <string>

namespace updater {

namespace msgbox {
inline constexpr std::int32_t kOkOnly = 0;
inline constexpr std::int32_t kYesNo = 4;
inline constexpr std::int32_t kCritical = 16;
// Right-aligned text read right to left, for the languages written that way.
inline constexpr std::int32_t kRight = 0x80000;
inline constexpr std::int32_t kRtlReading = 0x100000;

inline constexpr std::int32_t kAnswerOk = 1;
inline constexpr std::int32_t kAnswerYes = 6;
inline constexpr std::int32_t kAnswerNo = 7;
}  // namespace msgbox

class IMessageBox {
 public:
  virtual ~IMessageBox() = default;
  // Shows prompt under title with the buttons and icon of style; returns the answer once the user closed it.
  virtual std::int32_t MsgBox(const std::string& prompt, std::int32_t style, const std::string& title) = 0;
};

}  // namespace updater
