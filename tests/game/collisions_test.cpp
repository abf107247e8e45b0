#include <gtest/gtest.h>

#include "tests/game/world_test_support.h"

namespace kelvarok::testing {
namespace {

class CollisionsTest : public WorldTest {
 protected:
  // Counts the active non-hard rocks, which RockCount must equal.
  int CountedRocks() {
    int n = 0;
    for (int i = 1; i <= kRockSlots; ++i) n += rock(i).Active && !rock(i).Hard ? 1 : 0;
    return n;
  }
};

TEST_F(CollisionsTest, SpawnRockDrawsAFreshMotionInRange) {
  for (int i = 0; i < 500; ++i) {
    world->SpawnRock(5, 2, 1234, 5678);
    const TRock& r = rock(5);
    ASSERT_TRUE(r.Active);
    ASSERT_FALSE(r.Hard);
    ASSERT_EQ(r.Size, 2);
    ASSERT_EQ(r.X, 1234);
    ASSERT_EQ(r.OldX, 1234);
    ASSERT_EQ(r.Y, 5678);
    ASSERT_EQ(r.OldY, 5678);
    ASSERT_GE(r.VX, -2048);
    ASSERT_LE(r.VX, 2048);
    ASSERT_GE(r.Frame, 0);
    ASSERT_LT(r.Frame, 48);
    ASSERT_GE(r.Spin, -2);
    ASSERT_LE(r.Spin, 2);
  }
}

TEST_F(CollisionsTest, HitBoxesAreStrictSquaresBySize) {
  struct Case {
    std::int32_t size, missileBox, shipBox;
  };
  for (const Case c : {Case{1, 15360, 22528}, Case{2, 11264, 18432}, Case{3, 7168, 14336}}) {
    for (const std::int32_t d : {c.missileBox - 1, c.missileBox}) {
      for (int axis = 0; axis < 2; ++axis) {
        for (int m = 1; m <= kRockSlots; ++m) rock(m).Active = false;
        state().RockCount[1] = 0;
        PlaceRock(1, c.size, 300, 200);
        const std::int32_t mx = rock(1).X + (axis == 0 ? d : -d);
        const std::int32_t my = rock(1).Y + (axis == 1 ? -d : d);
        PlaceMissile(1, 0, 0);
        world->MissileHitsRock(1, mx, my);
        EXPECT_EQ(missile(1).Life == 0, d < c.missileBox) << c.size << " " << d;
      }
    }
    for (const std::int32_t d : {c.shipBox - 1, c.shipBox}) {
      for (int m = 1; m <= kRockSlots; ++m) rock(m).Active = false;
      PlaceRock(1, c.size, 300, 200);
      state().ShipHit = false;
      world->ShipHitsRock(rock(1).X - d, rock(1).Y + d);
      EXPECT_EQ(state().ShipHit, d < c.shipBox) << c.size << " " << d;
    }
  }
}

TEST_F(CollisionsTest, ABigRockSplitsIntoTwoMediumRocksAtItsPlace) {
  PlaceRock(1, 1, 100, 100);
  PlaceRock(2, 1, 500, 300);
  PlaceMissile(1, 100, 100);
  world->MissileHitsRock(1, missile(1).X, missile(1).Y);
  EXPECT_EQ(missile(1).Life, 0);
  EXPECT_EQ(rock(1).Size, 2);
  EXPECT_EQ(rock(3).Size, 2);
  EXPECT_TRUE(rock(3).Active);
  EXPECT_EQ(rock(3).X, 100 * kFixedOne);
  EXPECT_EQ(rock(3).Y, 100 * kFixedOne);
  EXPECT_EQ(state().RockCount[1], 3);
  EXPECT_EQ(state().Score[1], 10);
  EXPECT_EQ(host.scoreCaptions[1], "10");
  EXPECT_EQ(host.sounds, std::vector{Effect::Explosion});
}

TEST_F(CollisionsTest, AMediumRocksSecondPieceIsHardWithTheRoundsChance) {
  struct Case {
    std::int32_t round;
    double hardShare, tolerance;
  };
  for (const Case c : {Case{1, 0, 0}, Case{3, 0, 0}, Case{4, 1.0 / 32, 0.015},
                       Case{19, 16.0 / 32, 0.05}, Case{35, 1, 0}, Case{60, 1, 0}}) {
    state().RoundNo[1] = c.round;
    int hard = 0;
    const int splits = 1000;
    for (int i = 0; i < splits; ++i) {
      for (int s = 1; s <= kRockSlots; ++s) rock(s).Active = false;
      state().RockCount[1] = 0;
      PlaceRock(1, 2, 200, 200);
      PlaceMissile(1, 200, 200);
      world->MissileHitsRock(1, missile(1).X, missile(1).Y);
      ASSERT_EQ(rock(1).Size, 3);
      ASSERT_FALSE(rock(1).Hard);  // the piece in the hit rock's slot never is
      ASSERT_EQ(rock(2).Size, 3);
      hard += rock(2).Hard ? 1 : 0;
      ASSERT_EQ(state().RockCount[1], CountedRocks());
    }
    EXPECT_NEAR(static_cast<double>(hard) / splits, c.hardShare, c.tolerance) << c.round;
  }
  EXPECT_EQ(state().Score[1], 6 * 1000 * 20);
}

TEST_F(CollisionsTest, TheLastSmallRockClearsTheRound) {
  PlaceRock(1, 3, 100, 100);
  PlaceRock(2, 3, 400, 100).Hard = true;
  state().RockCount[1] = 1;
  PlaceMissile(1, 100, 100);
  world->MissileHitsRock(1, missile(1).X, missile(1).Y);
  EXPECT_FALSE(rock(1).Active);
  EXPECT_EQ(state().RockCount[1], 0);
  EXPECT_TRUE(state().RoundCleared);  // the hard rock still flying does not matter
  EXPECT_EQ(state().Score[1], 40);
}

TEST_F(CollisionsTest, AHardRockAbsorbsTheMissileWithAnExplosionAndNoPoints) {
  PlaceRock(1, 3, 100, 100).Hard = true;
  state().RockCount[1] = 0;
  PlaceMissile(1, 100, 100);
  world->MissileHitsRock(1, missile(1).X, missile(1).Y);
  EXPECT_EQ(missile(1).Life, 0);
  EXPECT_TRUE(rock(1).Active);
  EXPECT_EQ(state().Score[1], 0);
  EXPECT_EQ(host.scoreWrites, 0);
  EXPECT_EQ(host.sounds, std::vector{Effect::Explosion});
  settings.CrashSounds = false;
  PlaceMissile(1, 100, 100);
  world->MissileHitsRock(1, missile(1).X, missile(1).Y);
  EXPECT_EQ(host.sounds.size(), 1u);
}

TEST_F(CollisionsTest, OverlappingRocksLoseOnlyTheLowerSlot) {
  PlaceRock(1, 3, 100, 100);
  PlaceRock(2, 3, 101, 100);
  PlaceMissile(1, 100, 100);
  world->MissileHitsRock(1, missile(1).X, missile(1).Y);
  EXPECT_FALSE(rock(1).Active);
  EXPECT_TRUE(rock(2).Active);
}

TEST_F(CollisionsTest, TwoMissilesOnOneBigRockSplitItAndThenHitAPiece) {
  PlaceRock(1, 1, 300, 300);
  PlaceMissile(1, 300, 300, 5);
  PlaceMissile(2, 300, 300, 5);
  world->AgeMissiles();
  // Missile 1 split the big rock; missile 2 met the medium piece in slot 1.
  EXPECT_EQ(missile(1).Life, 0);
  EXPECT_EQ(missile(2).Life, 0);
  EXPECT_EQ(rock(1).Size, 3);
  EXPECT_EQ(rock(2).Size, 2);
  EXPECT_EQ(state().Score[1], 10 + 20);
  EXPECT_EQ(state().RockCount[1], CountedRocks());
}

TEST_F(CollisionsTest, AMissileHitsInTheFrameItsLifeRunsOut) {
  PlaceRock(1, 3, 300, 300);
  PlaceMissile(1, 300, 300, 1);
  world->AgeMissiles();
  EXPECT_FALSE(rock(1).Active);
  EXPECT_EQ(state().Score[1], 40);
}

TEST_F(CollisionsTest, ASplitWithAFullTableNeverWritesOutsideIt) {
  for (int i = 1; i <= kRockSlots; ++i) PlaceRock(i, i == 7 ? 1 : 3, 10 + 20 * i, 400);
  const int before = state().RockCount[1];
  PlaceMissile(1, 10 + 20 * 7, 400);
  world->MissileHitsRock(1, missile(1).X, missile(1).Y);
  EXPECT_EQ(rock(7).Size, 2);
  EXPECT_EQ(ActiveRocks(), kRockSlots);
  EXPECT_EQ(state().RockCount[1], before);
  EXPECT_EQ(state().RockCount[1], CountedRocks());
  EXPECT_EQ(state().Score[1], 10);
}

TEST_F(CollisionsTest, ShipHitsAnyRockHardOrNotButNotAcrossTheEdge) {
  PlaceRock(3, 3, 200, 200).Hard = true;
  world->ShipHitsRock(205 * kFixedOne, 195 * kFixedOne);
  EXPECT_TRUE(state().ShipHit);

  state().ShipHit = false;
  PlaceRock(1, 1, 749, 100);
  world->ShipHitsRock(1 * kFixedOne, 100 * kFixedOne);
  EXPECT_FALSE(state().ShipHit);
}

TEST_F(CollisionsTest, AFullRockIsWorth210PointsLessFortyPerHardPiece) {
  state().RoundNo[1] = 1;
  PlaceRock(1, 1, 375, 225);
  // Shoot at the centre until every piece is gone; pieces are at rest.
  for (int shot = 0; shot < 7; ++shot) {
    PlaceMissile(1, 375, 225);
    world->MissileHitsRock(1, missile(1).X, missile(1).Y);
  }
  EXPECT_EQ(ActiveRocks(), 0);
  EXPECT_EQ(state().Score[1], 210);
  EXPECT_TRUE(state().RoundCleared);
}

}  // namespace
}  // namespace kelvarok::testing
