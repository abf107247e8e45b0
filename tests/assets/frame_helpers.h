// Small measurements of sprite frames for the art tests.
#pragma once

#include <cmath>
#include <cstdlib>
#include <functional>
#include <optional>
#include <ostream>

#include "assets/sprites.h"
#include "platform/bitmap.h"

namespace kelvarok {

// Lets test failures name a bitmap by its size rather than dump its bytes.
inline void PrintTo(const Bitmap& b, std::ostream* out) {
  *out << b.width() << " x " << b.height() << " bitmap";
}

}  // namespace kelvarok

namespace kelvarok::testing {

// The sprites built into the program, decoded once for all tests.
inline const SpriteSet& Loaded() {
  static const SpriteSet sprites = LoadSprites();
  return sprites;
}

inline int Red(Pixel p) {
  return static_cast<int>((p >> 16) & 0xFF);
}
inline int Green(Pixel p) {
  return static_cast<int>((p >> 8) & 0xFF);
}
inline int Blue(Pixel p) {
  return static_cast<int>(p & 0xFF);
}

inline Bitmap FrameOf(const Bitmap& strip, int k, int width) {
  Bitmap frame(width, strip.height());
  BitBlt(frame, 0, 0, width, strip.height(), strip, k * width, 0, SRCCOPY);
  return frame;
}

// How different two frames of the same size look, blurred over 5 x 5 pixels so
// that a shape moved by a pixel counts as nearly the same.
inline long BlurredDistance(const Bitmap& a, const Bitmap& b) {
  const auto level = [](const Bitmap& f, int x, int y) {
    int sum = 0;
    for (int j = y - 2; j <= y + 2; ++j)
      for (int i = x - 2; i <= x + 2; ++i)
        if (i >= 0 && j >= 0 && i < f.width() && j < f.height())
          sum += Red(f.at(i, j)) + Green(f.at(i, j)) + Blue(f.at(i, j));
    return sum;
  };
  long d = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) d += std::abs(level(a, x, y) - level(b, x, y));
  return d;
}

// The offset of pixel (x, y)'s middle from the frame's centre, y growing upward.
struct Offset {
  double dx, dy;
  double Length() const { return std::sqrt(dx * dx + dy * dy); }
  // Counter-clockwise from pointing right, 0..360.
  double Degrees() const {
    const double degrees = std::atan2(dy, dx) * 180 / 3.14159265358979323846;
    return degrees < 0 ? degrees + 360 : degrees;
  }
};
inline Offset OffsetOf(const Bitmap& frame, int x, int y) {
  return {x + 0.5 - frame.width() / 2.0, frame.height() / 2.0 - (y + 0.5)};
}

// The direction, in degrees counter-clockwise from pointing right (0..360), of
// the brightness-weighted centroid of the pixels that `select` picks within
// rmin..rmax pixels of the frame's centre; nothing if no pixel is picked.
inline std::optional<double> CentroidDegrees(const Bitmap& frame, double rmin, double rmax,
                                             const std::function<bool(Pixel)>& select) {
  Offset sum{0, 0};
  for (int y = 0; y < frame.height(); ++y) {
    for (int x = 0; x < frame.width(); ++x) {
      const Offset o = OffsetOf(frame, x, y);
      const Pixel p = frame.at(x, y);
      if (o.Length() < rmin || o.Length() > rmax || !select(p)) continue;
      const int weight = Red(p) + Green(p) + Blue(p);
      sum.dx += o.dx * weight;
      sum.dy += o.dy * weight;
    }
  }
  if (sum.dx == 0 && sum.dy == 0) return std::nullopt;
  return sum.Degrees();
}

// The pixel that `select` picks farthest from the frame's centre, as its offset;
// nothing if no pixel is picked.
inline std::optional<Offset> Farthest(const Bitmap& frame,
                                      const std::function<bool(int x, int y)>& select) {
  std::optional<Offset> farthest;
  for (int y = 0; y < frame.height(); ++y) {
    for (int x = 0; x < frame.width(); ++x) {
      const Offset o = OffsetOf(frame, x, y);
      if (select(x, y) && (!farthest || o.Length() > farthest->Length())) farthest = o;
    }
  }
  return farthest;
}

// In how many of the 36 sectors of 10 degrees around the frame's centre
// `select` picks a pixel at least rmin pixels out: all 36 for a ring.
inline int SectorsReached(const Bitmap& frame, double rmin,
                          const std::function<bool(int x, int y)>& select) {
  bool reached[36] = {};
  for (int y = 0; y < frame.height(); ++y) {
    for (int x = 0; x < frame.width(); ++x) {
      const Offset o = OffsetOf(frame, x, y);
      if (o.Length() >= rmin && select(x, y))
        reached[static_cast<int>(o.Degrees() / 10) % 36] = true;
    }
  }
  int count = 0;
  for (const bool r : reached) count += r;
  return count;
}

// The difference of two directions in degrees, -180..180.
inline double AngleBetween(double a, double b) {
  double d = std::fmod(a - b, 360.0);
  if (d > 180) d -= 360;
  if (d < -180) d += 360;
  return d;
}

}  // namespace kelvarok::testing
