#pragma once
// One list of animation frames as desktop icons, each drawn at several sizes so that it stays sharp
// on high-density screens.

#include <vector>

#include "platform/ImageList.h"
#include "platform/desktop/IconRegistry.h"
#include "resources/AnimationFrames.h"

namespace updater {

class QtImageList : public IImageList {
 public:
  QtImageList(FrameColour colour, IconRegistry& registry);

  std::int32_t Count() const override { return static_cast<std::int32_t>(handles_.size()); }
  std::uint32_t Picture(std::int32_t index) const override;

 private:
  std::vector<std::uint32_t> handles_;
};

}  // namespace updater
