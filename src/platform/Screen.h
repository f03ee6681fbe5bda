#pragma once
// The screen the program's windows are on.

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace updater {

class IScreen {
 public:
  virtual ~IScreen() = default;
  // Twips per screen pixel, horizontal (15 at 96 dots per inch).
  virtual std::int32_t TwipsPerPixelX() const = 0;
};

// Twips per pixel at a screen density (1440 twips to the inch); 96 dots per inch where the screen tells none.
inline std::int32_t TwipsPerPixelAt(double dotsPerInch) {
  return std::max(1, static_cast<int>(std::lround(1440.0 / (dotsPerInch > 0 ? dotsPerInch : 96.0))));
}

}  // namespace updater
