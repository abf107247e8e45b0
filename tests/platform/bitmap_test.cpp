// BitBlt: the three raster operations and clipping at both bitmaps' edges.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/bitmap.h"

namespace kelvarok {
namespace {

TEST(BitBlt, RasterOperationsCombinePixelsAsMaskAndSprite) {
  struct Case {
    const char* what;
    RasterOp op;
    Pixel dst, src, expected;
  };
  const Pixel star = Rgb(0x90, 0xA0, 0xB0), sprite = Rgb(0x21, 0x43, 0x65);
  const std::vector<Case> cases = {
      {"copy replaces", SRCCOPY, star, sprite, sprite},
      {"copy of black", SRCCOPY, star, kBlack, kBlack},
      {"white mask keeps the field", SRCAND, star, kWhite, star},
      {"black mask clears the field", SRCAND, star, kBlack, kBlack},
      {"and of colours", SRCAND, Rgb(0xF0, 0x0F, 0x33), Rgb(0x3C, 0xFF, 0x0F),
       Rgb(0x30, 0x0F, 0x03)},
      {"black sprite leaves the field", SRCPAINT, star, kBlack, star},
      {"sprite on a cleared spot", SRCPAINT, kBlack, sprite, sprite},
      {"or of colours", SRCPAINT, Rgb(0xF0, 0x0F, 0x30), Rgb(0x0C, 0x10, 0x0F),
       Rgb(0xFC, 0x1F, 0x3F)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bitmap dst(2, 1, c.dst);
    const Bitmap src(1, 1, c.src);
    BitBlt(dst, 1, 0, 1, 1, src, 0, 0, c.op);
    EXPECT_EQ(dst.at(1, 0), c.expected);
    EXPECT_EQ(dst.at(0, 0), c.dst);  // outside the rectangle
  }
}

TEST(BitBlt, MaskThenSpriteDrawsTheSpriteOverTheField) {
  Bitmap field(3, 1, Rgb(50, 60, 70));
  const Bitmap mask = [] {
    Bitmap m(3, 1, kWhite);
    m.set(1, 0, kBlack);
    return m;
  }();
  const Bitmap sprite = [] {
    Bitmap s(3, 1, kBlack);
    s.set(1, 0, Rgb(200, 10, 20));
    return s;
  }();
  BitBlt(field, 0, 0, 3, 1, mask, 0, 0, SRCAND);
  BitBlt(field, 0, 0, 3, 1, sprite, 0, 0, SRCPAINT);
  EXPECT_EQ(field.at(0, 0), Rgb(50, 60, 70));
  EXPECT_EQ(field.at(1, 0), Rgb(200, 10, 20));
  EXPECT_EQ(field.at(2, 0), Rgb(50, 60, 70));
}

// Every pixel of the destination after a copy, computed one pixel at a time
// from the meaning of a clipped transfer.
Bitmap Expected(const Bitmap& dst, int x, int y, int w, int h, const Bitmap& src, int sx, int sy) {
  Bitmap out = dst;
  for (int j = 0; j < dst.height(); ++j) {
    for (int i = 0; i < dst.width(); ++i) {
      if (i < x || i >= x + w || j < y || j >= y + h) continue;
      const int si = sx + (i - x), sj = sy + (j - y);
      if (si < 0 || sj < 0 || si >= src.width() || sj >= src.height()) continue;
      out.set(i, j, src.at(si, sj));
    }
  }
  return out;
}

TEST(BitBlt, ClipsAtEveryEdgeOfBothBitmaps) {
  struct Case {
    const char* what;
    int x, y, w, h, sx, sy;
  };
  const std::vector<Case> cases = {
      {"inside both", 1, 1, 3, 2, 0, 0},
      {"whole source", 2, 2, 4, 3, 0, 0},
      {"destination left edge", -2, 1, 4, 3, 0, 0},
      {"destination right edge", 4, 1, 4, 3, 0, 0},
      {"destination top edge", 1, -1, 4, 3, 0, 0},
      {"destination bottom edge", 1, 3, 4, 3, 0, 0},
      {"source left edge", 1, 1, 4, 3, -1, 0},
      {"source right edge", 1, 1, 4, 3, 2, 0},
      {"source top edge", 1, 1, 4, 3, 0, -2},
      {"source bottom edge", 1, 1, 4, 3, 0, 1},
      {"negative on both", -1, -2, 4, 4, -2, -1},
      {"past every edge", -50, -50, 100, 100, -30, -30},
      {"right of the destination", 6, 0, 4, 3, 0, 0},
      {"left of the destination", -4, 0, 4, 3, 0, 0},
      {"above the destination", 0, -3, 4, 3, 0, 0},
      {"below the destination", 0, 5, 4, 3, 0, 0},
      {"right of the source", 0, 0, 4, 3, 4, 0},
      {"left of the source", 0, 0, 4, 3, -4, 0},
      {"above the source", 0, 0, 4, 3, 0, -3},
      {"below the source", 0, 0, 4, 3, 0, 3},
      {"zero width", 1, 1, 0, 3, 0, 0},
      {"zero height", 1, 1, 3, 0, 0, 0},
      {"negative width", 3, 1, -2, 2, 0, 0},
      {"negative height", 1, 3, 2, -2, 0, 0},
  };
  Bitmap src(4, 3);
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 4; ++i) src.set(i, j, Rgb(10 + i, 20 + j, 30));
  const Bitmap field(6, 5, Rgb(1, 2, 3));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bitmap dst = field;
    BitBlt(dst, c.x, c.y, c.w, c.h, src, c.sx, c.sy, SRCCOPY);
    EXPECT_EQ(dst, Expected(field, c.x, c.y, c.w, c.h, src, c.sx, c.sy));
  }
}

TEST(BitBlt, EmptyBitmapsAreLeftAlone) {
  Bitmap empty;
  const Bitmap src(2, 2, kWhite);
  BitBlt(empty, 0, 0, 2, 2, src, 0, 0, SRCCOPY);
  EXPECT_TRUE(empty.empty());
  Bitmap dst(2, 2, kBlack);
  BitBlt(dst, 0, 0, 2, 2, Bitmap(), 0, 0, SRCPAINT);
  EXPECT_EQ(dst, Bitmap(2, 2, kBlack));
}

}  // namespace
}  // namespace kelvarok
