#pragma once
// The screen the program's windows are on.

#include <cstdint>

namespace updater {

class IScreen {
 public:
  virtual ~IScreen() = default;
  // Twips per screen pixel, horizontal (15 at 96 dots per inch).
  virtual std::int32_t TwipsPerPixelX() const = 0;
};

}  // namespace updater
