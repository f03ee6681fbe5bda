#pragma once
// The tray animation's frames, drawn by the program: a coloured disc with a download arrow and a
// small ball circling it, one full loop per kFrameCount frames.

#include <cstdint>
#include <vector>

namespace updater {

inline constexpr int kFrameCount = 51;

enum class FrameColour { Green, Red };

// A square image, premultiplied-alpha ARGB pixels row by row.
struct FrameImage {
  int size = 0;
  std::vector<std::uint32_t> pixels;
};

// Frame index (1 to kFrameCount) of the animation in colour, drawn for size x size pixels.
FrameImage DrawAnimationFrame(FrameColour colour, int index, int size);

}  // namespace updater
