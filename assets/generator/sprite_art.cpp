#include "assets/generator/sprite_art.h"

#include <functional>

#include "assets/generator/frames.h"
#include "assets/generator/starfield.h"

namespace kelvarok::art {

namespace {

constexpr Pixel kMissileYellow = Rgb(255, 255, 0);

// Lays `frames` frames of `size` x `size` side by side, frame k at column k * size.
Bitmap Strip(int frames, int size, const std::function<Bitmap(int)>& frame) {
  Bitmap strip(frames * size, size, kBlack);
  for (int k = 0; k < frames; ++k) BitBlt(strip, k * size, 0, size, size, frame(k), 0, 0, SRCCOPY);
  return strip;
}

Bitmap ShipStrip(ShipLook look) {
  return Strip(kShipHeadings, kShipFrame, [&](int k) { return DrawShipFrame(k, look); });
}

Bitmap RockStrip(RockKind kind) {
  return Strip(kRockTurnSteps, RockFrameSize(kind), [&](int k) { return DrawRockFrame(kind, k); });
}

}  // namespace

Bitmap MaskOf(const Bitmap& sprite) {
  Bitmap mask(sprite.width(), sprite.height());
  for (std::size_t i = 0; i < sprite.pixels().size(); ++i)
    mask.pixels()[i] = sprite.pixels()[i] == kBlack ? kWhite : kBlack;
  return mask;
}

SpriteSet DrawSprites() {
  SpriteSet s;
  s.background = DrawStarfield();
  s.iship = ShipStrip({.shield = false, .flame = false});
  s.ishield = ShipStrip({.shield = true, .flame = false});
  s.ishipfire = ShipStrip({.shield = false, .flame = true});
  s.ishieldfire = ShipStrip({.shield = true, .flame = true});
  // The masks cover the plain ship and its flame only: the shield strips paint
  // their ring beyond them, over the field, so no dark ring hides the stars
  // around a ship without its shield.
  s.ishipmask = MaskOf(s.iship);
  s.ishipfiremask = MaskOf(s.ishipfire);
  s.irockbig = RockStrip(RockKind::kBig);
  s.irockbigmask = MaskOf(s.irockbig);
  s.irockmedium = RockStrip(RockKind::kMedium);
  s.irockmediummask = MaskOf(s.irockmedium);
  s.irocksmall = RockStrip(RockKind::kSmall);
  s.igrock = RockStrip(RockKind::kHard);
  s.irocksmallmask = MaskOf(s.irocksmall);
  s.imissile = Bitmap(3, 3, kMissileYellow);
  s.icrash1 = Strip(kDebrisTurnSteps, kShipFrame, DrawNoseDebrisFrame);
  s.icrashmask1 = MaskOf(s.icrash1);
  s.icrash2 = Strip(kDebrisTurnSteps, kShipFrame, DrawTailDebrisFrame);
  s.icrashmask2 = MaskOf(s.icrash2);
  return s;
}

}  // namespace kelvarok::art
