#include <gtest/gtest.h>

#include "tests/game/world_test_support.h"

namespace kelvarok::testing {
namespace {

class FieldDrawingTest : public WorldTest {
 protected:
  Pixel At(int x, int y) { return world->field.at(x, y); }
  bool Clean(int x, int y) { return At(x, y) == TestBackgroundAt(x, y); }
  // True when the square of the given size with its top-left corner at (x, y)
  // is exactly the field as it was before anything was drawn.
  bool CleanSquare(int x, int y, int size) {
    for (int dy = 0; dy < size; ++dy)
      for (int dx = 0; dx < size; ++dx)
        if (x + dx >= 0 && x + dx < 750 && y + dy >= 0 && y + dy < 450 && !Clean(x + dx, y + dy))
          return false;
    return true;
  }
  int CountCode(int code) {
    int n = 0;
    for (const Pixel p : world->field.pixels()) n += IsBody(p) && StripCodeOf(p) == code ? 1 : 0;
    return n;
  }
};

TEST_F(FieldDrawingTest, RocksAreCentredMaskedAndShowTheirFrameColumn) {
  struct Case {
    std::int32_t size;
    bool hard;
    int half, width, code;
  };
  const Case cases[] = {{1, false, 14, 29, kRockBigCode},
                        {2, false, 10, 21, kRockMediumCode},
                        {3, false, 6, 13, kRockSmallCode},
                        {3, true, 6, 13, kHardRockCode}};
  for (const Case& c : cases) {
    world->RestoreField();
    TRock& r = PlaceRock(1, c.size, 300, 200);
    r.Hard = c.hard;
    r.Frame = 47;
    r.Spin = 2;
    world->DrawRocks();
    const int left = 300 - c.half, top = 200 - c.half;
    EXPECT_EQ(StripCodeOf(At(left + 1, top + 1)), c.code);
    EXPECT_EQ(FrameOf(At(left + 1, top + 1)), 23);
    EXPECT_EQ(StripCodeOf(At(left + c.width - 2, top + c.width - 2)), c.code);
    EXPECT_TRUE(Clean(left, top)) << "the black border shows the background";
    EXPECT_TRUE(Clean(left + c.width, top + 1));
    EXPECT_EQ(r.Frame, 1);  // 47 + 2 wraps to 1
  }
}

TEST_F(FieldDrawingTest, SpinWrapsDownwardToo) {
  TRock& r = PlaceRock(1, 1, 300, 200);
  r.Frame = 1;
  r.Spin = -2;
  world->DrawRocks();
  EXPECT_EQ(r.Frame, 47);
}

TEST_F(FieldDrawingTest, ASpriteCrossingTheEdgeIsClippedNotWrapped) {
  PlaceRock(1, 1, 0, 100);
  world->DrawRocks();
  EXPECT_EQ(StripCodeOf(At(0, 100)), kRockBigCode);
  EXPECT_EQ(StripCodeOf(At(13, 100)), kRockBigCode);
  EXPECT_TRUE(CleanSquare(735, 86, 15));  // nothing at the right edge
  EXPECT_EQ(CountCode(kRockBigCode), 14 * 27);

  // A ship at the bottom-right corner and a missile half outside.
  ship().X = 749 * kFixedOne;
  ship().Y = 449 * kFixedOne;
  world->DrawShip(false);
  EXPECT_EQ(StripCodeOf(At(749, 449)), kShipCode);
  EXPECT_TRUE(CleanSquare(0, 0, 14));
  PlaceMissile(1, 0, 0);
  world->DrawMissiles();
  EXPECT_EQ(At(0, 0), Rgb(255, 255, 0));
  EXPECT_TRUE(Clean(749, 449 - 15));
}

TEST_F(FieldDrawingTest, EraseRestoresTheOldSpotAtTheCurrentSize) {
  // A big rock drawn, then split in the next frame: it is erased at its old
  // (big) size before the split and drawn at the new (medium) size.
  PlaceRock(1, 1, 300, 200);
  world->DrawRocks();
  PlaceMissile(1, 300, 200);
  world->EraseRocks();
  EXPECT_TRUE(CleanSquare(286, 186, 29));
  world->AgeMissiles();
  world->DrawRocks();
  EXPECT_EQ(rock(1).Size, 2);
  EXPECT_EQ(StripCodeOf(At(291, 191)), kRockMediumCode);
  EXPECT_TRUE(Clean(287, 187));  // the old big rock's corner is gone
  EXPECT_EQ(CountCode(kRockBigCode), 0);
}

TEST_F(FieldDrawingTest, AFrameErasesEverythingThatMovedBeforeItDrawsAnything) {
  // Two rocks whose new places overlap each other's old ones: neither new
  // image may be wiped by the other's erase.
  TRock& a = PlaceRock(1, 1, 300, 200);
  TRock& b = PlaceRock(2, 1, 310, 200);
  state().ShieldTime = 250;
  world->PlayFrame();
  a.VX = 10 * kFixedOne;
  b.VX = -10 * kFixedOne;
  world->PlayFrame();
  EXPECT_EQ(StripCodeOf(At(300, 200)), kRockBigCode);
  EXPECT_EQ(StripCodeOf(At(310, 200)), kRockBigCode);
  // Both 27-pixel bodies whole, 10 pixels apart: erasing b's old spot (where a
  // now is) after a was drawn would have cut a hole into a.
  EXPECT_EQ(CountCode(kRockBigCode), (27 + 10) * 27);
}

TEST_F(FieldDrawingTest, MissilesAreDrawnOverRocksAndTheShipOverBoth) {
  PlaceRock(1, 1, 300, 200);
  PlaceMissile(1, 300, 180);  // outside the missile box but on the sprite
  ship().X = 300 * kFixedOne;
  ship().Y = 215 * kFixedOne;
  state().ShieldTime = 250;
  missile(1).VX = 0;
  world->PlayFrame();
  EXPECT_EQ(At(300, 180), Rgb(255, 255, 0));
  EXPECT_EQ(StripCodeOf(At(300, 213)), kShieldCode);
  EXPECT_EQ(StripCodeOf(At(300, 190)), kRockBigCode);
}

TEST_F(FieldDrawingTest, AHiddenShipLeavesNoImage) {
  ship().X = 200 * kFixedOne;
  ship().Y = 200 * kFixedOne;
  world->DrawShip(false);
  ship().WarpTime = 10;
  ship().X = 400 * kFixedOne;
  for (int frame = 0; frame < 3; ++frame) world->PlayFrame();
  EXPECT_EQ(CountCode(kShipCode), 0);
  EXPECT_EQ(ship().OldX, 200 * kFixedOne);  // the last drawn spot stays recorded
}

TEST_F(FieldDrawingTest, TheStripFollowsShieldAndThrust) {
  struct Case {
    bool shield, thrust;
    int code;
    bool sound;
  };
  const Case cases[] = {{false, false, kShipCode, false},
                        {true, false, kShieldCode, false},
                        {false, true, kShipFireCode, true},
                        {true, true, kShieldFireCode, true}};
  for (const Case& c : cases) {
    world->RestoreField();
    host.sounds.clear();
    state().ShieldTime = c.shield ? 10 : 0;
    ship().Thrusting = c.thrust;
    ship().Heading = 30;
    world->DrawShip(false);
    const Pixel p = At(375 - 13 + 1, 225 - 13 + 1);
    EXPECT_EQ(StripCodeOf(p), c.code);
    EXPECT_EQ(FrameOf(p), 30);
    EXPECT_FALSE(ship().Thrusting);
    EXPECT_EQ(host.sounds == std::vector{Effect::Thrust}, c.sound);
  }
  settings.ThrustSounds = false;
  ship().Thrusting = true;
  host.sounds.clear();
  world->DrawShip(false);
  EXPECT_TRUE(host.sounds.empty());
}

TEST_F(FieldDrawingTest, TheFlameShowsInTheFrameAfterTheThrustAndOnlyThen) {
  host.keys.Press(VK_UP);
  world->PlayFrame();  // thrust is read after the drawing
  EXPECT_EQ(CountCode(kShipFireCode), 0);
  host.keys.Release(VK_UP);
  world->PlayFrame();
  EXPECT_GT(CountCode(kShipFireCode), 0);
  EXPECT_EQ(host.sounds, std::vector{Effect::Thrust});
  world->PlayFrame();
  EXPECT_EQ(CountCode(kShipFireCode), 0);
  EXPECT_GT(CountCode(kShipCode), 0);
}

TEST_F(FieldDrawingTest, DebrisIsThreePiecesWithTheThirdRunBackwards) {
  ship().X = 300 * kFixedOne;
  ship().Y = 200 * kFixedOne;
  ship().Heading = 4;
  world->DrawShip(true);
  EXPECT_EQ(StripCodeOf(At(300, 200)), kCrash1Code);  // between the two arcs' borders
  EXPECT_EQ(FrameOf(At(300, 200)), 4);
  EXPECT_EQ(StripCodeOf(At(300 - 26 + 1, 200 - 26 + 1)), kCrash2Code);
  EXPECT_EQ(FrameOf(At(300 - 26 + 1, 200 - 26 + 1)), 4);
  EXPECT_EQ(StripCodeOf(At(300 + 25, 200 + 25)), kCrash2Code);
  EXPECT_EQ(FrameOf(At(300 + 25, 200 + 25)), 13);

  world->EraseShip(true);
  EXPECT_TRUE(CleanSquare(300 - 26, 200 - 26, 53));
}

TEST_F(FieldDrawingTest, RestoreFieldWipesEverythingAndAsksForARepaint) {
  PlaceRock(1, 1, 100, 100);
  PlaceMissile(1, 200, 200);
  world->DrawRocks();
  world->DrawMissiles();
  world->DrawShip(false);
  const int before = host.invalidations;
  world->RestoreField();
  EXPECT_EQ(world->field, world->CleanBack);
  EXPECT_EQ(host.invalidations, before + 1);
}

TEST_F(FieldDrawingTest, AMissileIsErasedWhereItWasDrawnAndDrawnOnlyWhileAlive) {
  PlaceMissile(1, 100, 100, 1);
  world->DrawMissiles();
  missile(1).X = 110 * kFixedOne;
  world->AgeMissiles();  // life runs out: erased, not drawn again
  world->DrawMissiles();
  EXPECT_TRUE(CleanSquare(99, 99, 3));
  EXPECT_TRUE(CleanSquare(109, 99, 3));
}

}  // namespace
}  // namespace kelvarok::testing
