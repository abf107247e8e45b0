#include "assets/generator/starfield.h"

#include <algorithm>

#include "assets/generator/art_random.h"
#include "assets/generator/colour.h"

namespace kelvarok::art {

namespace {

constexpr std::uint64_t kSeed = 0x5741525354415253ull;
constexpr int kStars = 340;

// Lightens a pixel towards `c`, leaving any brighter star there as it is.
void Brighten(Bitmap& field, int x, int y, Colour c) {
  if (x < 0 || y < 0 || x >= field.width() || y >= field.height()) return;
  const Pixel old = field.at(x, y);
  const Pixel add = ToPixel(c);
  Pixel out = 0xFF000000u;
  for (int shift = 0; shift <= 16; shift += 8) {
    const Pixel mask = 0xFFu << shift;
    out |= std::max(old & mask, add & mask);
  }
  field.set(x, y, out);
}

}  // namespace

Bitmap DrawStarfield() {
  Bitmap field(kFieldWidth, kFieldHeight, kBlack);
  ArtRandom random(kSeed);
  for (int i = 0; i < kStars; ++i) {
    const int x = random.Below(kFieldWidth), y = random.Below(kFieldHeight);
    // Most stars are faint; a few are bright enough to glow into their neighbours.
    const double kind = random.Unit();
    const double brightness = kind < 0.6    ? random.Between(0.30, 0.58)
                              : kind < 0.92 ? random.Between(0.62, 0.88)
                                            : 1.0;
    // A faint tint, bluish or warm, as real stars have.
    const double tint = random.Between(-0.06, 0.06);
    const Colour star{brightness * (1 + tint), brightness, brightness * (1 - tint)};
    Brighten(field, x, y, star);
    if (kind >= 0.92) {
      const Colour glow = star * 0.38;
      Brighten(field, x - 1, y, glow);
      Brighten(field, x + 1, y, glow);
      Brighten(field, x, y - 1, glow);
      Brighten(field, x, y + 1, glow);
    }
  }
  return field;
}

}  // namespace kelvarok::art
