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
using testing::FrameOf;
using testing::Green;
using testing::Loaded;
using testing::Red;

bool IsFlame(Pixel p) {
  return Red(p) >= 150 && Red(p) - Blue(p) >= 100;
}
// The ship's metal, leaving out the flame and its dim edges.
bool IsGrey(Pixel p) {
  return p != kBlack &&
         std::max({Red(p), Green(p), Blue(p)}) - std::min({Red(p), Green(p), Blue(p)}) <= 32;
}

// Between the ball and the ring only the nose spike (and the flame) show.
constexpr double kPastBall = 6.1, kBeforeRing = 9.6;

TEST(ShipFrames, NoseOfTheCardinalHeadingsPointsRightUpLeftDown) {
  struct Case {
    int heading;
    int nose_x, nose_y;  // a pixel of the spike
    int tail_x, tail_y;  // the pixel opposite, black in the plain ship
  };
  const std::vector<Case> cases = {
      {0, 21, 13, 5, 13},   // right
      {9, 13, 5, 13, 21},   // up
      {18, 5, 13, 21, 13},  // left
      {27, 13, 21, 13, 5},  // down
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.heading);
    const Bitmap frame = FrameOf(Loaded().iship, c.heading, 27);
    EXPECT_NE(frame.at(c.nose_x, c.nose_y), kBlack);
    EXPECT_EQ(frame.at(c.tail_x, c.tail_y), kBlack);
  }
}

TEST(ShipFrames, EveryHeadingTurnsTenDegreesCounterClockwise) {
  const std::vector<std::pair<const char*, Bitmap SpriteSet::*>> strips = {
      {"iship", &SpriteSet::iship},
      {"ishield", &SpriteSet::ishield},
      {"ishipfire", &SpriteSet::ishipfire},
      {"ishieldfire", &SpriteSet::ishieldfire},
  };
  for (const auto& [name, member] : strips) {
    for (int heading = 0; heading < 36; ++heading) {
      SCOPED_TRACE(std::string(name) + " heading " + std::to_string(heading));
      const Bitmap frame = FrameOf(Loaded().*member, heading, 27);
      const auto nose = CentroidDegrees(frame, kPastBall, kBeforeRing, IsGrey);
      ASSERT_TRUE(nose.has_value());
      EXPECT_NEAR(AngleBetween(*nose, 10.0 * heading), 0, 4);
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

TEST(DebrisFrames, BallPieceTurnsTwentyDegreesPerFrame) {
  for (int step = 0; step < 18; ++step) {
    SCOPED_TRACE(step);
    const auto spike =
        CentroidDegrees(FrameOf(Loaded().icrash1, step, 27), kPastBall, kBeforeRing, IsGrey);
    ASSERT_TRUE(spike.has_value());
    EXPECT_NEAR(AngleBetween(*spike, 20.0 * step), 0, 4);
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
      {"icrash1", &Loaded().icrash1, 27, 18, art::DrawBallDebrisFrame},
      {"icrash2", &Loaded().icrash2, 27, 18, art::DrawArcDebrisFrame},
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
