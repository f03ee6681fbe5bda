#include "platform/windows/WindowsFileName.h"

#include <algorithm>
#include <array>
#include <string>

namespace updater {
namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsDeviceName(std::string_view name) {
  // The device is named by what stands before the first dot, trailing blanks dropped.
  std::string_view stem = name.substr(0, name.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
  std::string upper(stem.size(), ' ');
  std::transform(stem.begin(), stem.end(), upper.begin(), Upper);

  static constexpr std::array<std::string_view, 6> kDevices = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  if (std::find(kDevices.begin(), kDevices.end(), upper) != kDevices.end()) return true;
  return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) && upper[3] >= '1' &&
         upper[3] <= '9';
}

}  // namespace

bool IsWindowsFileName(std::string_view name) {
  if (name.empty() || name.back() == '.' || name.back() == ' ') return false;
  constexpr std::string_view kRefused = "\\/:*?\"<>|";
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || kRefused.find(c) != std::string_view::npos) return false;
  }
  return !IsDeviceName(name);
}

}  // namespace updater
