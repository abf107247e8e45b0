#include "platform/bitmap.h"

#include <algorithm>

namespace kelvarok {

Bitmap::Bitmap(int width, int height, Pixel fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill) {}

void BitBlt(Bitmap& dst, int x, int y, int w, int h, const Bitmap& src, int sx, int sy,
            RasterOp op) {
  // Shrink the rectangle so that it lies inside both bitmaps.
  auto clip_low = [&](int& d, int& s, int& len) {
    const int skip = std::max({0, -d, -s});
    d += skip;
    s += skip;
    len -= skip;
  };
  clip_low(x, sx, w);
  clip_low(y, sy, h);
  w = std::min({w, dst.width() - x, src.width() - sx});
  h = std::min({h, dst.height() - y, src.height() - sy});
  if (w <= 0 || h <= 0) return;

  for (int row = 0; row < h; ++row) {
    Pixel* out =
        &dst.pixels()[static_cast<std::size_t>(y + row) * static_cast<std::size_t>(dst.width()) +
                      static_cast<std::size_t>(x)];
    const Pixel* in =
        &src.pixels()[static_cast<std::size_t>(sy + row) * static_cast<std::size_t>(src.width()) +
                      static_cast<std::size_t>(sx)];
    switch (op) {
      case SRCCOPY:
        std::copy(in, in + w, out);
        break;
      case SRCAND:
        for (int i = 0; i < w; ++i) out[i] &= in[i];
        break;
      case SRCPAINT:
        for (int i = 0; i < w; ++i) out[i] |= in[i];
        break;
    }
  }
}

}  // namespace kelvarok
