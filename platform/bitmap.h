// A device-independent bitmap and the three block transfers the game draws with.
#pragma once

#include <cstdint>
#include <vector>

namespace kelvarok {

// One pixel: 0xFFRRGGBB (opaque; AND and OR of two such pixels stay opaque).
using Pixel = std::uint32_t;

constexpr Pixel Rgb(int r, int g, int b) {
  return 0xFF000000u | (static_cast<Pixel>(r & 0xFF) << 16) | (static_cast<Pixel>(g & 0xFF) << 8) |
         static_cast<Pixel>(b & 0xFF);
}
constexpr Pixel kBlack = Rgb(0, 0, 0);
constexpr Pixel kWhite = Rgb(255, 255, 255);

class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(int width, int height, Pixel fill = kBlack);

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ == 0 || height_ == 0; }

  // Unchecked access; callers stay inside 0..width-1 by 0..height-1.
  Pixel at(int x, int y) const { return pixels_[Index(x, y)]; }
  void set(int x, int y, Pixel p) { pixels_[Index(x, y)] = p; }

  const std::vector<Pixel>& pixels() const { return pixels_; }
  std::vector<Pixel>& pixels() { return pixels_; }

  friend bool operator==(const Bitmap&, const Bitmap&) = default;

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }

  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel> pixels_;
};

enum class RasterOp { SRCCOPY, SRCAND, SRCPAINT };
using enum RasterOp;

// Transfers the w x h rectangle at (sx, sy) of src to (x, y) of dst, combining
// each pixel with the raster operation. The rectangle is clipped at the edges of
// both bitmaps: pixels that would come from or go to outside either bitmap are
// skipped, so nothing outside either bitmap is ever read or written.
void BitBlt(Bitmap& dst, int x, int y, int w, int h, const Bitmap& src, int sx, int sy,
            RasterOp op);

}  // namespace kelvarok
