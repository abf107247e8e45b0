// Colours with channels 0..1 while a picture is computed.
#pragma once

#include <algorithm>

#include "platform/bitmap.h"

namespace kelvarok::art {

struct Colour {
  double r = 0;
  double g = 0;
  double b = 0;
};

constexpr Colour operator*(Colour c, double k) {
  return {c.r * k, c.g * k, c.b * k};
}
constexpr Colour operator+(Colour a, Colour b) {
  return {a.r + b.r, a.g + b.g, a.b + b.b};
}

// a at t = 0, b at t = 1.
constexpr Colour Mix(Colour a, Colour b, double t) {
  return a * (1 - t) + b * t;
}

// The surface colour under light of the given brightness, plus a white glint.
constexpr Colour Lit(Colour base, double brightness, double glint) {
  return base * brightness + Colour{1, 1, 1} * glint;
}

// Rounds a channel to 0..255.
constexpr int Channel8(double v) {
  return static_cast<int>(std::clamp(v, 0.0, 1.0) * 255 + 0.5);
}

constexpr Pixel ToPixel(Colour c) {
  return Rgb(Channel8(c.r), Channel8(c.g), Channel8(c.b));
}

}  // namespace kelvarok::art
