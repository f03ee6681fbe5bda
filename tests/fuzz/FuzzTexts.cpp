// Placeholder filling and the tray's text rule on any bytes, each against what it must give.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "text/Reporters.h"
#include "text/Sprintf.h"
#include "tray/TrayText.h"

namespace {
struct NoReports : updater::IRuntimeErrors {
  void ReportRuntimeError(std::int32_t, std::int32_t, const std::string&) override { __builtin_trap(); }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

  // The format up to the first NUL, three values after it.
  const std::size_t cut = text.find('\0');
  const std::string format = text.substr(0, cut);
  const std::string value = cut == std::string::npos ? "" : text.substr(cut + 1);
  NoReports reports;
  const int number = static_cast<int>(data[0]) - 128;
  // Each value in turn fills the first "%n" of the text as the earlier values left it.
  std::string expected = format;
  const std::string values[] = {value, std::to_string(number), format};
  for (std::size_t n = 0; n < 3; ++n) {
    const std::size_t at = expected.find("%" + std::to_string(n + 1));
    if (at != std::string::npos) expected.replace(at, 2, values[n]);
  }
  if (updater::sprintf(reports, format, {value, number, format}) != expected) __builtin_trap();

  // A field of 1 to 256 bytes holds a terminated prefix of a text, whole UTF-8 characters only.
  std::string tray = text;
  tray.erase(std::remove(tray.begin(), tray.end(), '\0'), tray.end());
  const std::size_t width = data[0] + 1u;
  const std::string field = updater::TrayFieldText(tray, width);
  const std::size_t end = field.find('\0');
  if (field.size() != width || end == std::string::npos) __builtin_trap();
  for (std::size_t i = 0; i < end; ++i) {
    if (field[i] != (tray[i] == '|' ? '\r' : tray[i])) __builtin_trap();
  }
  // Cut before width - 1 bytes only to keep a character whole: at most three bytes of one.
  const auto continuation = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; };
  const std::size_t limit = width - 1;
  if (end < tray.size() && end < limit) {
    if (end + 3 < limit || continuation(tray[end])) __builtin_trap();
    for (std::size_t i = end + 1; i <= limit; ++i) {
      if (!continuation(tray[i])) __builtin_trap();
    }
  }
  return 0;
}
