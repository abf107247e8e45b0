// Frame orders: ship headings counter-clockwise from pointing right, rocks and
// debris turning once through their strips.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "assets/generator/frames.h"
#include "assets/sprites.h"
#include "tests/assets/frame_helpers.h"

namespace kelvarok {
namespace {

using testing::AngleBetween;
using testing::Blue;
using testing::BlurredDistance;
using testing::CentroidDegrees;
using testing::Farthest;
using testing::FrameOf;
using testing::Green;
using testing::Loaded;
using testing::Red;
using testing::SectorsReached;

bool IsFlame(Pixel p) {
  return Red(p) >= 150 && Red(p) - Blue(p) >= 100;
}
// The ship's metal, leaving out the flame and its dim edges.
bool IsGrey(Pixel p) {
  return p != kBlack &&
         std::max({Red(p), Green(p), Blue(p)}) - std::min({Red(p), Green(p), Blue(p)}) <= 32;
}

// Only the ship's tip reaches this far out.
constexpr double kTipOnly = 9.9;

TEST(ShipFrames, TipOfTheCardinalHeadingsPointsRightUpLeftDown) {
  struct Case {
    int heading;
    int tip_x, tip_y;    // a pixel near the tip
    int tail_x, tail_y;  // the pixel opposite, black in the plain ship
  };
  const std::vector<Case> cases = {
      {0, 23, 13, 3, 13},   // right
      {9, 13, 3, 13, 23},   // up
      {18, 3, 13, 23, 13},  // left
      {27, 13, 23, 13, 3},  // down
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.heading);
    const Bitmap frame = FrameOf(Loaded().iship, c.heading, 27);
    EXPECT_NE(frame.at(c.tip_x, c.tip_y), kBlack);
    EXPECT_EQ(frame.at(c.tail_x, c.tail_y), kBlack);
  }
}

// The ship as drawn over black, without the shield ring that the shield
// strips paint beyond the mask.
Bitmap ShipInside(const Bitmap& sprite, const Bitmap& mask) {
  Bitmap ship = sprite;
  for (std::size_t i = 0; i < ship.pixels().size(); ++i)
    if (mask.pixels()[i] != kBlack) ship.pixels()[i] = kBlack;
  return ship;
}

TEST(ShipFrames, EveryHeadingTurnsTenDegreesCounterClockwise) {
  struct Case {
    const char* name;
    Bitmap SpriteSet::*sprite;
    Bitmap SpriteSet::*mask;
  };
  const std::vector<Case> cases = {
      {"iship", &SpriteSet::iship, &SpriteSet::ishipmask},
      {"ishield", &SpriteSet::ishield, &SpriteSet::ishipmask},
      {"ishipfire", &SpriteSet::ishipfire, &SpriteSet::ishipfiremask},
      {"ishieldfire", &SpriteSet::ishieldfire, &SpriteSet::ishipfiremask},
  };
  for (const Case& c : cases) {
    for (int heading = 0; heading < 36; ++heading) {
      SCOPED_TRACE(std::string(c.name) + " heading " + std::to_string(heading));
      const Bitmap ship = ShipInside(FrameOf(Loaded().*c.sprite, heading, 27),
                                     FrameOf(Loaded().*c.mask, heading, 27));
      const auto tip = CentroidDegrees(ship, kTipOnly, 13, IsGrey);
      ASSERT_TRUE(tip.has_value());
      EXPECT_NEAR(AngleBetween(*tip, 10.0 * heading), 0, 4);
    }
  }
}

// What the ship covers (its mask, shared by the plain and the shielded ship)
// points the way it flies: its farthest point is the tip, also with the flame.
TEST(ShipFrames, FarthestPointOfTheMaskLiesAlongTheHeading) {
  for (const auto member : {&SpriteSet::ishipmask, &SpriteSet::ishipfiremask}) {
    for (int heading = 0; heading < 36; ++heading) {
      SCOPED_TRACE(heading);
      const Bitmap mask = FrameOf(Loaded().*member, heading, 27);
      const auto farthest = Farthest(mask, [&](int x, int y) { return mask.at(x, y) == kBlack; });
      ASSERT_TRUE(farthest.has_value());
      EXPECT_NEAR(AngleBetween(farthest->Degrees(), 10.0 * heading), 0, 15);
    }
  }
}

// The shield is told by its shape, not only its colour: the shielded ship
// paints a ring all the way round outside the mask, while the plain ship's
// mask reaches out only at the tip and the wing tips, so the field around
// it keeps its stars.
TEST(ShipFrames, OnlyTheShieldedShipHasARing) {
  struct Case {
    const char* name;
    Bitmap SpriteSet::*sprite;
    Bitmap SpriteSet::*mask;
    bool ring;
  };
  const std::vector<Case> cases = {
      {"iship", &SpriteSet::iship, &SpriteSet::ishipmask, false},
      {"ishipfire", &SpriteSet::ishipfire, &SpriteSet::ishipfiremask, false},
      {"ishield", &SpriteSet::ishield, &SpriteSet::ishipmask, true},
      {"ishieldfire", &SpriteSet::ishieldfire, &SpriteSet::ishipfiremask, true},
  };
  constexpr double kRingRadius = 9.0;
  for (const Case& c : cases) {
    for (int heading = 0; heading < 36; ++heading) {
      SCOPED_TRACE(std::string(c.name) + " heading " + std::to_string(heading));
      const Bitmap sprite = FrameOf(Loaded().*c.sprite, heading, 27);
      const Bitmap mask = FrameOf(Loaded().*c.mask, heading, 27);
      const int masked =
          SectorsReached(mask, kRingRadius, [&](int x, int y) { return mask.at(x, y) == kBlack; });
      EXPECT_LT(masked, 18);
      const int painted = SectorsReached(sprite, kRingRadius, [&](int x, int y) {
        return mask.at(x, y) == kWhite && sprite.at(x, y) != kBlack;
      });
      if (c.ring) {
        EXPECT_EQ(painted, 36);
      } else {
        EXPECT_EQ(painted, 0);
      }
    }
  }
}

TEST(ShipFrames, FlameIsOppositeTheNose) {
  for (const auto member : {&SpriteSet::ishipfire, &SpriteSet::ishieldfire}) {
    for (int heading = 0; heading < 36; ++heading) {
      SCOPED_TRACE(heading);
      const Bitmap frame = FrameOf(Loaded().*member, heading, 27);
      const auto flame = CentroidDegrees(frame, 0, 14, IsFlame);
      ASSERT_TRUE(flame.has_value());
      EXPECT_NEAR(AngleBetween(*flame, 10.0 * heading + 180), 0, 4);
    }
  }
}

// The nose piece's tip is all of it that lies this far out.
constexpr double kNosePieceTip = 7.0;

TEST(DebrisFrames, NosePieceTurnsTwentyDegreesPerFrame) {
  for (int step = 0; step < 18; ++step) {
    SCOPED_TRACE(step);
    const auto tip =
        CentroidDegrees(FrameOf(Loaded().icrash1, step, 27), kNosePieceTip, 13, IsGrey);
    ASSERT_TRUE(tip.has_value());
    EXPECT_NEAR(AngleBetween(*tip, 20.0 * step), 0, 4);
  }
}

// A strip shows one turn: all its frames differ, the frame after the last is the
// first again, and each frame looks more like its neighbour than like the
// frame a quarter turn away (so the steps run in order, not scrambled).
TEST(TurningStrips, ShowOneTurnInOrder) {
  using art::RockKind;
  struct Case {
    const char* name;
    const Bitmap* strip;
    int size, steps;
    std::function<Bitmap(int)> draw;
  };
  const auto rock = [](RockKind kind) {
    return [kind](int step) { return art::DrawRockFrame(kind, step); };
  };
  const std::vector<Case> cases = {
      {"irockbig", &Loaded().irockbig, 29, 24, rock(RockKind::kBig)},
      {"irockmedium", &Loaded().irockmedium, 21, 24, rock(RockKind::kMedium)},
      {"irocksmall", &Loaded().irocksmall, 13, 24, rock(RockKind::kSmall)},
      {"igrock", &Loaded().igrock, 13, 24, rock(RockKind::kHard)},
      {"icrash1", &Loaded().icrash1, 27, 18, art::DrawNoseDebrisFrame},
      {"icrash2", &Loaded().icrash2, 27, 18, art::DrawTailDebrisFrame},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(c.strip->width(), c.size * c.steps);
    std::vector<Bitmap> frames;
    for (int k = 0; k < c.steps; ++k) frames.push_back(FrameOf(*c.strip, k, c.size));
    for (int i = 0; i < c.steps; ++i) {
      for (int j = i + 1; j < c.steps; ++j) EXPECT_NE(frames[i], frames[j]) << i << " and " << j;
      const int next = (i + 1) % c.steps, quarter = (i + c.steps / 4) % c.steps;
      EXPECT_LT(BlurredDistance(frames[i], frames[next]),
                BlurredDistance(frames[i], frames[quarter]))
          << i;
    }
    EXPECT_EQ(c.draw(c.steps), frames[0]);
    EXPECT_EQ(c.draw(0), frames[0]);
  }
}

}  // namespace
}  // namespace kelvarok
