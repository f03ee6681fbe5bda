#include "platform/windows/WindowsImageList.h"

#include <windows.h>

#include <array>
#include <memory>

#include "platform/windows/Win32Fault.h"

namespace updater {
namespace {

struct BitmapDeleter {
  void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
};
using UniqueBitmap = std::unique_ptr<HBITMAP__, BitmapDeleter>;

// A premultiplied ARGB pixel in the straight-alpha BGRA that icons store.
std::uint32_t Straight(std::uint32_t pixel) {
  const std::uint32_t alpha = pixel >> 24;
  if (alpha == 0) return 0;
  std::uint32_t result = alpha << 24;
  for (int shift = 0; shift < 24; shift += 8)
    result |= std::min<std::uint32_t>(255, ((pixel >> shift) & 0xFF) * 255 / alpha) << shift;
  return result;
}

// A 32-bit icon: the colour with its alpha channel, and a mask that is set where the frame is
// transparent, for whoever draws without alpha.
UniqueIcon MakeIcon(const FrameImage& frame) {
  constexpr int side = WindowsImageList::kIconSize;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = side;
  info.bmiHeader.biHeight = -side;  // top-down, as the frame's rows are
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap colour(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!colour) RaiseWin32Fault();
  auto* pixels = static_cast<std::uint32_t*>(bits);
  std::array<std::uint8_t, side * side / 8> maskBits{};  // rows of 16 bits: word-aligned as bitmaps need
  for (int i = 0; i < side * side; ++i) {
    pixels[i] = Straight(frame.pixels[static_cast<std::size_t>(i)]);
    if ((pixels[i] >> 24) < 128) maskBits[static_cast<std::size_t>(i / 8)] |= static_cast<std::uint8_t>(0x80 >> (i % 8));
  }
  GdiFlush();
  UniqueBitmap mask(CreateBitmap(side, side, 1, 1, maskBits.data()));
  ICONINFO parts{TRUE, 0, 0, mask.get(), colour.get()};
  UniqueIcon icon(CreateIconIndirect(&parts));
  if (!icon) RaiseWin32Fault();
  return icon;
}

}  // namespace

WindowsImageList::WindowsImageList(FrameColour colour) {
  icons_.reserve(kFrameCount);
  for (int index = 1; index <= kFrameCount; ++index) icons_.push_back(MakeIcon(DrawAnimationFrame(colour, index, kIconSize)));
}

std::uint32_t WindowsImageList::Picture(std::int32_t index) const {
  if (index < 1 || index > Count()) RaiseFault(FaultNumber::SubscriptOutOfRange);
  return HandleNumber(icons_[static_cast<std::size_t>(index - 1)].get());
}

}  // namespace updater
