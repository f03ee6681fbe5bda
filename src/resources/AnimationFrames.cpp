#include "resources/AnimationFrames.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace updater {
namespace {

struct Colour {
  double r, g, b;
};

struct Palette {
  Colour rim, body, light, ball, ballRim;
};

Palette PaletteOf(FrameColour colour) {
  if (colour == FrameColour::Green)
    return {{0.05, 0.38, 0.12}, {0.16, 0.66, 0.24}, {0.55, 0.90, 0.55}, {1.00, 0.88, 0.25}, {0.45, 0.30, 0.00}};
  return {{0.50, 0.04, 0.04}, {0.86, 0.14, 0.12}, {0.98, 0.55, 0.50}, {1.00, 0.88, 0.25}, {0.45, 0.30, 0.00}};
}

// A premultiplied pixel.
struct Pixel {
  double a = 0, r = 0, g = 0, b = 0;
};

// Unit-square geometry: the figure is drawn in coordinates from 0 to 1.
constexpr double kDiscRadius = 0.33;
constexpr double kRimWidth = 0.06;
constexpr double kOrbitRadius = 0.385;
constexpr double kBallRadius = 0.115;
// A dark edge keeps the ball apart from light and dark panels alike.
constexpr double kBallRimWidth = 0.035;

bool InArrow(double x, double y) {
  // A downward arrow centred in the disc: a shaft and a triangular head.
  const double cx = 0.5;
  if (std::fabs(x - cx) <= 0.065 && y >= 0.30 && y <= 0.55) return true;
  const double headTop = 0.50, headBottom = 0.71;
  if (y < headTop || y > headBottom) return false;
  const double halfWidth = 0.17 * (headBottom - y) / (headBottom - headTop);
  return std::fabs(x - cx) <= halfWidth;
}

// Colour of the figure at a point, and whether the point is covered at all.
bool Sample(const Palette& p, double x, double y, double ballX, double ballY, Colour& out) {
  const double dBall = std::hypot(x - ballX, y - ballY);
  if (dBall <= kBallRadius) {
    if (dBall > kBallRadius - kBallRimWidth) {
      out = p.ballRim;
    } else {
      const double shade = 1.0 - 0.25 * dBall / kBallRadius;
      out = {p.ball.r * shade, p.ball.g * shade, p.ball.b * shade};
    }
    return true;
  }
  const double d = std::hypot(x - 0.5, y - 0.5);
  if (d > kDiscRadius) return false;
  if (d > kDiscRadius - kRimWidth) {
    out = p.rim;
  } else if (InArrow(x, y)) {
    out = {1.0, 1.0, 1.0};
  } else {
    // A soft highlight toward the upper left gives the disc some depth.
    const double t = std::clamp(std::hypot(x - 0.40, y - 0.38) / kDiscRadius, 0.0, 1.0);
    out = {p.light.r + (p.body.r - p.light.r) * t, p.light.g + (p.body.g - p.light.g) * t,
           p.light.b + (p.body.b - p.light.b) * t};
  }
  return true;
}

std::uint32_t Pack(const Pixel& px) {
  auto channel = [](double v) { return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0)); };
  return channel(px.a) << 24 | channel(px.r) << 16 | channel(px.g) << 8 | channel(px.b);
}

}  // namespace

FrameImage DrawAnimationFrame(FrameColour colour, int index, int size) {
  const Palette palette = PaletteOf(colour);
  const double angle = 2.0 * std::numbers::pi * (index - 1) / kFrameCount - std::numbers::pi / 2;
  const double ballX = 0.5 + kOrbitRadius * std::cos(angle);
  const double ballY = 0.5 + kOrbitRadius * std::sin(angle);

  constexpr int kSamples = 4;  // per axis, for smooth edges at every size
  FrameImage image{size, std::vector<std::uint32_t>(static_cast<std::size_t>(size) * size)};
  for (int py = 0; py < size; ++py) {
    for (int px = 0; px < size; ++px) {
      double r = 0, g = 0, b = 0, covered = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          const double x = (px + (sx + 0.5) / kSamples) / size;
          const double y = (py + (sy + 0.5) / kSamples) / size;
          Colour c{};
          if (!Sample(palette, x, y, ballX, ballY, c)) continue;
          r += c.r;
          g += c.g;
          b += c.b;
          covered += 1;
        }
      }
      const double n = kSamples * kSamples;
      Pixel pixel;
      pixel.a = covered / n;
      pixel.r = r / n;
      pixel.g = g / n;
      pixel.b = b / n;
      image.pixels[static_cast<std::size_t>(py) * size + px] = Pack(pixel);
    }
  }
  return image;
}

}  // namespace updater
