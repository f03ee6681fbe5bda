#pragma once
// One animation's 51 frames as 16 x 16 icons, drawn once at start and owned for the program's life.

#include <vector>

#include "platform/ImageList.h"
#include "platform/windows/UserHandles.h"
#include "resources/AnimationFrames.h"

namespace updater {

class WindowsImageList : public IImageList {
 public:
  explicit WindowsImageList(FrameColour colour);

  std::int32_t Count() const override { return static_cast<std::int32_t>(icons_.size()); }
  std::uint32_t Picture(std::int32_t index) const override;

  static constexpr int kIconSize = 16;

 private:
  std::vector<UniqueIcon> icons_;
};

}  // namespace updater
