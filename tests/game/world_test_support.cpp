#include "tests/game/world_test_support.h"

namespace kelvarok::testing {

namespace {

Bitmap MakeStrip(int frames, int size, int code) {
  Bitmap strip(frames * size, size, kBlack);
  for (int f = 0; f < frames; ++f)
    for (int y = 1; y < size - 1; ++y)
      for (int x = 1; x < size - 1; ++x) strip.set(f * size + x, y, Rgb(code, f, 200));
  return strip;
}

// White exactly where the strip is black.
Bitmap MaskOf(const Bitmap& strip) {
  Bitmap mask(strip.width(), strip.height(), kBlack);
  for (int y = 0; y < strip.height(); ++y)
    for (int x = 0; x < strip.width(); ++x)
      if (strip.at(x, y) == kBlack) mask.set(x, y, kWhite);
  return mask;
}

}  // namespace

Pixel TestBackgroundAt(int x, int y) {
  return Rgb(1 + x % 250, 1 + y % 250, 7);
}

SpriteSet MakeTestSprites() {
  SpriteSet s;
  s.background = Bitmap(750, 450);
  for (int y = 0; y < 450; ++y)
    for (int x = 0; x < 750; ++x) s.background.set(x, y, TestBackgroundAt(x, y));
  s.iship = MakeStrip(36, 27, kShipCode);
  s.ishield = MakeStrip(36, 27, kShieldCode);
  s.ishipfire = MakeStrip(36, 27, kShipFireCode);
  s.ishieldfire = MakeStrip(36, 27, kShieldFireCode);
  s.ishipmask = MaskOf(s.iship);
  s.ishipfiremask = MaskOf(s.ishipfire);
  s.irockbig = MakeStrip(24, 29, kRockBigCode);
  s.irockbigmask = MaskOf(s.irockbig);
  s.irockmedium = MakeStrip(24, 21, kRockMediumCode);
  s.irockmediummask = MaskOf(s.irockmedium);
  s.irocksmall = MakeStrip(24, 13, kRockSmallCode);
  s.igrock = MakeStrip(24, 13, kHardRockCode);
  s.irocksmallmask = MaskOf(s.irocksmall);
  s.imissile = Bitmap(3, 3, Rgb(255, 255, 0));
  s.icrash1 = MakeStrip(18, 27, kCrash1Code);
  s.icrashmask1 = MaskOf(s.icrash1);
  s.icrash2 = MakeStrip(18, 27, kCrash2Code);
  s.icrashmask2 = MaskOf(s.icrash2);
  return s;
}

WorldTest::WorldTest(std::uint64_t seed)
    : world(std::make_unique<GameWorld>(sprites, settings, host, seed)) {
  GameState& s = world->state;
  s.CurPlayer = 1;
  s.NumPlayers = 1;
  s.RockSpeed[1] = s.RockSpeed[2] = 4096;
  s.RoundNo[1] = s.RoundNo[2] = 1;
  world->NewShip();
  s.CurShip().Heading = 0;
}

TRock& WorldTest::PlaceRock(int slot, std::int32_t size, int x, int y) {
  TRock& r = rock(slot);
  r = TRock{};
  r.Active = true;
  r.Size = size;
  r.X = r.OldX = x * kFixedOne;
  r.Y = r.OldY = y * kFixedOne;
  if (!r.Hard) ++state().RockCount[state().CurPlayer];
  return r;
}

TMissile& WorldTest::PlaceMissile(int m, int x, int y, std::int32_t life) {
  TMissile& mi = missile(m);
  mi = TMissile{};
  mi.Life = life;
  mi.X = mi.OldX = x * kFixedOne;
  mi.Y = mi.OldY = y * kFixedOne;
  return mi;
}

int WorldTest::ActiveRocks() {
  int n = 0;
  for (int i = 1; i <= kRockSlots; ++i) n += rock(i).Active ? 1 : 0;
  return n;
}

}  // namespace kelvarok::testing
