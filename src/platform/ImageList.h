#pragma once
// A list of icon frames held by the desktop; pictures are named by native handles.

#include <cstdint>

namespace updater {

class IImageList {
 public:
  virtual ~IImageList() = default;
  virtual std::int32_t Count() const = 0;
  // Handle of image index (1-based); faults on an index outside 1 to Count().
  virtual std::uint32_t Picture(std::int32_t index) const = 0;
};

}  // namespace updater
