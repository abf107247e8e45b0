#include "assets/generator/raster.h"

namespace kelvarok::art {

namespace {

struct Coverage {
  Colour sum;
  int hits = 0;
};

Coverage Sample(const Picture& picture, int px, int py, int samples) {
  Coverage c;
  for (int j = 0; j < samples; ++j) {
    for (int i = 0; i < samples; ++i) {
      const Vec2 p{px + (i + 0.5) / samples, py + (j + 0.5) / samples};
      if (const std::optional<Colour> colour = picture(p)) {
        c.sum = c.sum + *colour;
        ++c.hits;
      }
    }
  }
  return c;
}

}  // namespace

void DrawOnBlack(Bitmap& out, int left, int top, int w, int h, const Picture& picture) {
  constexpr int kTotal = kSpriteSamples * kSpriteSamples;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const Coverage c = Sample(picture, x, y, kSpriteSamples);
      Pixel p = ToPixel(c.sum * (1.0 / kTotal));
      if (c.hits > 0 && p == kBlack) p = Rgb(1, 1, 1);
      out.set(left + x, top + y, p);
    }
  }
}

Bitmap DrawWithAlpha(int size, const Picture& picture) {
  constexpr int kTotal = kIconSamples * kIconSamples;
  Bitmap out(size, size, 0);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const Coverage c = Sample(picture, x, y, kIconSamples);
      if (c.hits == 0) continue;
      const Pixel rgb = ToPixel(c.sum * (1.0 / c.hits)) & 0x00FFFFFFu;
      const auto alpha = static_cast<Pixel>(Channel8(static_cast<double>(c.hits) / kTotal));
      out.set(x, y, (alpha << 24) | rgb);
    }
  }
  return out;
}

}  // namespace kelvarok::art
