#include "platform/desktop/QtImageList.h"

#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <map>

#include "text/Fault.h"

namespace updater {
namespace {

int SquareSide(const QSize& size) { return std::max(1, std::min(size.width(), size.height())); }

// Draws one frame at whatever size the desktop asks for, when it asks, so that start-up draws
// nothing and every size is sharp. The frame is square: a panel that offers a wider or taller
// place gets it centred at the smaller side, undistorted.
class FrameIconEngine : public QIconEngine {
 public:
  FrameIconEngine(FrameColour colour, int index) : colour_(colour), index_(index) {}

  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
    return {SquareSide(size), SquareSide(size)};
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
    const int side = SquareSide(size);
    auto cached = cache_.find(side);
    if (cached == cache_.end()) {
      const FrameImage frame = DrawAnimationFrame(colour_, index_, side);
      const QImage image(reinterpret_cast<const uchar*>(frame.pixels.data()), frame.size, frame.size,
                         QImage::Format_ARGB32_Premultiplied);
      cached = cache_.emplace(side, QPixmap::fromImage(image.copy())).first;
    }
    return cached->second;
  }

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    const qreal ratio = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1.0;
    QRect square(0, 0, SquareSide(rect.size()), SquareSide(rect.size()));
    square.moveCenter(rect.center());
    painter->drawPixmap(square, pixmap(square.size() * ratio, mode, state));
  }

  // The sizes panels commonly ask for; a StatusNotifierItem host is sent the icon at each of them.
  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    QList<QSize> sizes;
    for (const int side : {16, 22, 24, 32, 48, 64}) sizes.append(QSize(side, side));
    return sizes;
  }

  QIconEngine* clone() const override { return new FrameIconEngine(colour_, index_); }

 private:
  FrameColour colour_;
  int index_;
  std::map<int, QPixmap> cache_;
};

}  // namespace

QtImageList::QtImageList(FrameColour colour, IconRegistry& registry) {
  for (int index = 1; index <= kFrameCount; ++index)
    handles_.push_back(registry.Add(QIcon(new FrameIconEngine(colour, index))));
}

std::uint32_t QtImageList::Picture(std::int32_t index) const {
  if (index < 1 || index > Count()) RaiseFault(FaultNumber::SubscriptOutOfRange);
  return handles_[static_cast<std::size_t>(index - 1)];
}

}  // namespace updater
