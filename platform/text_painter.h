// Text measurement and drawing onto a bitmap in one fixed font and colour, with
// a clear background (the pixels between the letters are left alone).
#pragma once

#include <string>

#include "platform/bitmap.h"

namespace kelvarok {

struct TextExtent {
  int cx = 0;
  int cy = 0;
};

class TextPainter {
 public:
  virtual ~TextPainter() = default;
  // Texts are 8-bit Latin-1.
  virtual TextExtent TextExtentOf(const std::string& text) = 0;
  // Draws text with its top-left corner at (x, y), clipped at the bitmap's edges.
  virtual void TextOut(Bitmap& target, int x, int y, const std::string& text) = 0;
};

}  // namespace kelvarok
