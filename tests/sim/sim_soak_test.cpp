// The autopilot plays whole games over many seeds; the model's invariants are
// checked after every frame.
#include <gtest/gtest.h>

#include "sim/simulator.h"
#include "tests/game/flow_test_support.h"
#include "tests/game/world_test_support.h"

namespace kelvarok::sim {
namespace {

constexpr std::uint64_t kSoakFrames = 200000;

void CheckInvariants(const GameState& s, FramePhase phase) {
  const bool inField = phase == FramePhase::Play || phase == FramePhase::Crash;
  const auto inside = [&](std::int32_t x, std::int32_t y) {
    return x >= 0 && x <= s.FieldW && y >= 0 && y <= s.FieldH;
  };
  for (int p = 1; p <= kPlayers; ++p) {
    int counted = 0;
    for (int i = 1; i <= kRockSlots; ++i) {
      const TRock& r = s.Rocks[p][i];
      if (!r.Active) continue;
      counted += r.Hard ? 0 : 1;
      ASSERT_TRUE(r.Frame >= 0 && r.Frame <= 47) << r.Frame;
      ASSERT_TRUE(r.Spin >= -2 && r.Spin <= 2) << r.Spin;
      ASSERT_TRUE(r.Size >= 1 && r.Size <= 3) << r.Size;
      ASSERT_TRUE(!r.Hard || r.Size == 3);
      if (inField && p == s.CurPlayer) {
        ASSERT_TRUE(inside(r.X, r.Y)) << r.X << "," << r.Y;
      }
    }
    ASSERT_EQ(s.RockCount[p], counted) << "player " << p;
    ASSERT_GE(s.Score[p], 0);
  }
  const TShip& ship = s.Ships[s.CurPlayer];
  ASSERT_TRUE(ship.Heading >= 0 && ship.Heading <= 35) << ship.Heading;
  if (inField) {
    ASSERT_TRUE(inside(ship.X, ship.Y)) << ship.X << "," << ship.Y;
  }
  for (int m = 1; m <= kMissileSlots; ++m) {
    const TMissile& mi = s.Missiles[m];
    ASSERT_TRUE(mi.Life >= 0 && mi.Life <= 20) << mi.Life;
    if (inField && mi.Life > 0) {
      ASSERT_TRUE(inside(mi.X, mi.Y)) << mi.X << "," << mi.Y;
    }
  }
}

TEST(SimSoakTest, TheAutopilotPlaysWithoutBreakingTheModel) {
  const SpriteSet sprites = testing::MakeTestSprites();
  std::uint64_t frames = 0;
  int seeds = 0;
  int bonusWithinFiveMinutes = 0;
  for (std::uint64_t seed = 1; frames < kSoakFrames; ++seed) {
    SCOPED_TRACE(seed);
    testing::FixedTextPainter text;
    SimOptions options;
    options.seed = seed;
    options.autopilot = true;
    Simulator sim(sprites, text, options);
    bool failed = false;
    bool bonusSeen = false;
    sim.onFrame = [&](FramePhase phase) {
      if (failed) return;
      CheckInvariants(sim.world().state, phase);
      failed = ::testing::Test::HasFatalFailure();
      if (phase == FramePhase::Bonus && sim.host().now() <= 300000) bonusSeen = true;
    };
    sim.Run();
    ASSERT_FALSE(failed);
    frames += sim.framesPlayed();
    ++seeds;
    bonusWithinFiveMinutes += bonusSeen ? 1 : 0;
  }
  // The demo relies on the autopilot reaching round 3's bonus round quickly.
  EXPECT_GE(bonusWithinFiveMinutes * 4, seeds * 3) << bonusWithinFiveMinutes << " of " << seeds;
}

class AutopilotTest : public testing::WorldTest {
 protected:
  Autopilot autopilot{*world, [this](int vk, bool down) {
                        if (down) {
                          host.keys.Press(vk);
                        } else {
                          host.keys.Release(vk);
                        }
                      }};
};

TEST_F(AutopilotTest, AShipKeepingPaceWithARockOutOfReachClosesIn) {
  // A game once came to this: the ship drifting up at 2 px a frame beside a
  // rock that kept pace 185 px above it (265 px below, across the edge),
  // beyond a missile's reach either way.
  ship() = TShip{.X = 186474, .Y = 243376, .VX = -178, .VY = 2032, .Heading = 11};
  rock(1) = TRock{.Active = true,
                  .X = 133120,
                  .Y = 54200,
                  .VX = -992,
                  .VY = 2033,
                  .Size = 1,
                  .Frame = 43,
                  .Spin = 2};
  state().RockCount[1] = 1;
  state().FireLatch = true;
  int frames = 0;
  while (rock(1).Size == 1 && frames < 2000) {
    world->PlayFrame();
    autopilot.Steer();
    ++frames;
  }
  EXPECT_NE(rock(1).Size, 1) << "the rock was never hit";
}

}  // namespace
}  // namespace kelvarok::sim
