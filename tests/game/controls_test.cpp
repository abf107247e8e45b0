#include <gtest/gtest.h>

#include "tests/game/world_test_support.h"

namespace kelvarok::testing {
namespace {

class ControlsTest : public WorldTest {
 protected:
  void Press(int vk) { host.keys.Press(vk); }
  void Release(int vk) { host.keys.Release(vk); }
  int LiveMissiles() {
    int n = 0;
    for (int m = 1; m <= kMissileSlots; ++m) n += missile(m).Life > 0 ? 1 : 0;
    return n;
  }
  // Samples the controls with fire released once, so the next press fires.
  void Arm() {
    Release(VK_CONTROL);
    world->ReadControls();
  }
};

TEST_F(ControlsTest, HoldingFireGivesOneMissileUntilReleased) {
  Arm();
  Press(VK_CONTROL);
  for (int frame = 0; frame < 5; ++frame) world->ReadControls();
  EXPECT_EQ(LiveMissiles(), 1);
  Release(VK_CONTROL);
  world->ReadControls();
  Press(VK_CONTROL);
  world->ReadControls();
  EXPECT_EQ(LiveMissiles(), 2);
}

TEST_F(ControlsTest, TheFirstSampleOfAProgramOnlyArmsTheLatch) {
  EXPECT_FALSE(state().FireLatch);
  Press(VK_CONTROL);
  world->ReadControls();
  EXPECT_EQ(LiveMissiles(), 0);
}

TEST_F(ControlsTest, AMissileLeavesFromTheShipAtTenPixelsAlongTheHeading) {
  ship().X = 300000;
  ship().Y = 200000;
  ship().VX = 5000;  // the ship's own velocity is not added
  ship().Heading = 3;
  state().ShieldTime = 250;
  state().Score[1] = 5;
  Arm();
  Press(VK_CONTROL);
  world->ReadControls();
  const TMissile& m = missile(1);
  EXPECT_EQ(m.Life, 20);
  EXPECT_EQ(m.X, 300000);
  EXPECT_EQ(m.OldX, 300000);
  EXPECT_EQ(m.Y, 200000);
  EXPECT_EQ(m.OldY, 200000);
  EXPECT_EQ(m.VX, 8870);
  EXPECT_EQ(m.VY, 5120);
  EXPECT_EQ(state().ShieldTime, 0);
  EXPECT_EQ(state().Score[1], 4);
  EXPECT_EQ(host.scoreCaptions[1], "4");
  EXPECT_EQ(host.sounds, std::vector{Effect::Missile});
}

TEST_F(ControlsTest, TheFirstFreeMissileIsTakenAndAFullPoolSwallowsThePress) {
  for (int m = 1; m <= kMissileSlots; ++m) PlaceMissile(m, 10, 10, m == 4 ? 0 : 5);
  Arm();
  Press(VK_CONTROL);
  world->ReadControls();
  EXPECT_EQ(missile(4).Life, 20);
  EXPECT_EQ(LiveMissiles(), 10);

  // The pool is full: the press is used up, and a freed slot does not fire
  // while the control stays down.
  world->ReadControls();
  missile(7).Life = 0;
  world->ReadControls();
  EXPECT_EQ(missile(7).Life, 0);
  EXPECT_EQ(host.sounds.size(), 1u);
}

TEST_F(ControlsTest, FiringCostsAPointButNeverGoesBelowZeroAndIsFreeInTheBonusRound) {
  struct Case {
    std::int32_t score;
    bool bonus;
    std::int32_t after;
    int panelWrites;
  };
  for (const Case c : {Case{3, false, 2, 1}, Case{0, false, 0, 1}, Case{7, true, 7, 0}}) {
    state().Score[1] = c.score;
    state().BonusMode = c.bonus;
    host.scoreWrites = 0;
    for (int m = 1; m <= kMissileSlots; ++m) missile(m).Life = 0;
    Arm();
    Press(VK_CONTROL);
    world->ReadControls();
    EXPECT_EQ(state().Score[1], c.after);
    EXPECT_EQ(host.scoreWrites, c.panelWrites);
    if (c.panelWrites) {
      EXPECT_EQ(host.scoreCaptions[1], std::to_string(c.after));
    }
  }
}

TEST_F(ControlsTest, WhileWarpingNothingIsSampledAndTheLatchIsKept) {
  Arm();
  Press(VK_CONTROL);
  Press(VK_UP);
  Press(VK_LEFT);
  ship().WarpTime = 3;
  world->ReadControls();
  EXPECT_EQ(LiveMissiles(), 0);
  EXPECT_EQ(ship().VX, 0);
  EXPECT_EQ(ship().Heading, 0);
  EXPECT_TRUE(state().FireLatch);
  EXPECT_FALSE(ship().Thrusting);
}

TEST_F(ControlsTest, FireHeldThroughAJumpDoesNotFireOnReturnButAFreshPressDoes) {
  Press(VK_CONTROL);
  world->ReadControls();  // held before the jump: latch disarmed
  ship().WarpTime = 50;
  world->ReadControls();
  ship().WarpTime = 0;
  world->ReadControls();
  EXPECT_EQ(LiveMissiles(), 0);

  // Released and pressed again only while away: fires on the first frame back.
  Arm();
  ship().WarpTime = 50;
  Press(VK_CONTROL);
  world->ReadControls();
  ship().WarpTime = 0;
  world->ReadControls();
  EXPECT_EQ(LiveMissiles(), 1);
}

TEST_F(ControlsTest, HyperspaceIsBlockedByTheShieldTheBonusRoundAndAHitInTheSameFrame) {
  struct Case {
    std::int32_t shield;
    bool bonus, hit;
  };
  const Case cases[] = {{1, false, false}, {0, true, false}, {0, false, true}};
  Press(VK_SPACE);
  for (const Case& c : cases) {
    ship() = TShip{.X = 1000, .Y = 2000};
    state().ShieldTime = c.shield;
    state().BonusMode = c.bonus;
    state().ShipHit = c.hit;
    host.sounds.clear();
    world->ReadControls();
    EXPECT_EQ(ship().WarpTime, 0) << c.shield << c.bonus << c.hit;
    EXPECT_EQ(ship().X, 1000);
    EXPECT_EQ(state().ShipHit, c.hit);
    EXPECT_TRUE(host.sounds.empty());
  }
}

TEST_F(ControlsTest, OneJumpInTenFailsAndTheRestLandAnywhereInTheField) {
  Press(VK_SPACE);
  int failed = 0;
  const int jumps = 3000;
  for (int i = 0; i < jumps; ++i) {
    ship() = TShip{.X = 1000, .Y = 2000, .VX = 33, .VY = 44, .Heading = 5};
    state().ShipHit = false;
    host.sounds.clear();
    world->ReadControls();
    if (state().ShipHit) {
      ++failed;
      EXPECT_EQ(ship().X, 1000);  // lost where it stands
      EXPECT_EQ(ship().WarpTime, 0);
      EXPECT_TRUE(host.sounds.empty());
    } else {
      EXPECT_EQ(ship().WarpTime, 50);
      EXPECT_GE(ship().X, 0);
      EXPECT_LT(ship().X, state().FieldW);
      EXPECT_GE(ship().Y, 0);
      EXPECT_LT(ship().Y, state().FieldH);
      EXPECT_EQ(ship().VX, 33);
      EXPECT_EQ(ship().Heading, 5);
      EXPECT_EQ(host.sounds, std::vector{Effect::Hyperspace});
    }
  }
  EXPECT_NEAR(failed, jumps / 10, 60);
}

TEST_F(ControlsTest, ThrustAddsOneStepPerFrameWithinASquareLimit) {
  Press(VK_UP);
  ship().Heading = 3;  // 887, 512
  world->ReadControls();
  EXPECT_EQ(ship().VX, 887);
  EXPECT_EQ(ship().VY, 512);
  EXPECT_TRUE(ship().Thrusting);

  ship().VX = 9000;
  ship().VY = -9216;
  ship().Heading = 0;
  world->ReadControls();
  EXPECT_EQ(ship().VX, 9216);
  EXPECT_EQ(ship().VY, -9216);
  ship().Heading = 27;
  world->ReadControls();
  EXPECT_EQ(ship().VY, -9216);

  ship().Thrusting = false;
  state().BonusMode = true;
  world->ReadControls();
  EXPECT_FALSE(ship().Thrusting);
}

TEST_F(ControlsTest, RotationWrapsAndLeftAndRightCancel) {
  struct Case {
    bool left, right;
    std::int32_t from, to;
  };
  const Case cases[] = {{true, false, 35, 0}, {false, true, 0, 35}, {true, false, 9, 10},
                        {false, true, 9, 8},  {true, true, 0, 0},   {true, true, 35, 35}};
  for (const Case& c : cases) {
    host.keys.ReleaseAll();
    if (c.left) Press(VK_LEFT);
    if (c.right) Press(VK_RIGHT);
    ship().Heading = c.from;
    world->ReadControls();
    EXPECT_EQ(ship().Heading, c.to) << c.from << c.left << c.right;
  }
}

TEST_F(ControlsTest, TheShotAndTheThrustUseTheHeadingFromBeforeTheTurn) {
  Arm();
  Press(VK_CONTROL);
  Press(VK_UP);
  Press(VK_LEFT);
  ship().Heading = 0;
  world->ReadControls();
  EXPECT_EQ(missile(1).VX, 10240);
  EXPECT_EQ(missile(1).VY, 0);
  EXPECT_EQ(ship().VX, 1024);
  EXPECT_EQ(ship().Heading, 1);
}

TEST_F(ControlsTest, RebindingTheKeysMovesTheControls) {
  settings.LeftKey = 'Z';
  settings.RightKey = 'Z';
  settings.ThrustKey = VK_NUMPAD0 + 5;
  Press('Z');
  Press(VK_LEFT);
  Press(VK_NUMPAD0 + 5);
  ship().Heading = 4;
  world->ReadControls();
  EXPECT_EQ(ship().Heading, 4);
  EXPECT_TRUE(ship().Thrusting);
}

TEST_F(ControlsTest, JoystickConditionsFollowTheRawAxesAndButtons) {
  struct Case {
    std::uint32_t x, y, buttons;
    std::int32_t heading;  // from 9
    bool thrust, fired, jumped;
  };
  const Case cases[] = {
      {32768, 32768, 0, 9, false, false, false},
      {16383, 32768, 0, 10, false, false, false},  // left below 16384
      {16384, 32768, 0, 9, false, false, false},
      {49153, 32768, 0, 8, false, false, false},  // right above 49152
      {49152, 32768, 0, 9, false, false, false},
      {32768, 6553, 0, 9, true, false, false},  // forward below 6554
      {32768, 6554, 0, 9, false, false, false},
      {32768, 65535, 0, 9, false, false, false},  // pulling back does nothing
      {32768, 32768, JOY_BUTTON1, 9, false, true, false},
      {32768, 32768, JOY_BUTTON2, 9, false, false, true},
  };
  settings.JoyStick1 = 2;
  for (const Case& c : cases) {
    host.joysticks.Set(JOYSTICKID2, JOYINFO{c.x, c.y, 0, c.buttons});
    ship() = TShip{.X = 1000, .Y = 1000, .Heading = 9};
    for (int m = 1; m <= kMissileSlots; ++m) missile(m).Life = 0;
    state().FireLatch = true;
    world->ReadControls();
    EXPECT_EQ(ship().Heading, c.heading) << c.x << "," << c.y;
    EXPECT_EQ(ship().Thrusting, c.thrust) << c.x << "," << c.y;
    EXPECT_EQ(missile(1).Life > 0, c.fired) << c.buttons;
    EXPECT_EQ(ship().WarpTime > 0 || state().ShipHit, c.jumped) << c.buttons;
    state().ShipHit = false;
  }
}

TEST_F(ControlsTest, EachPlayerReadsOnlyTheJoystickAssignedToHim) {
  host.joysticks.Set(JOYSTICKID1, JOYINFO{0, 32768, 0, 0});      // hard left
  host.joysticks.Set(JOYSTICKID2, JOYINFO{65535, 32768, 0, 0});  // hard right
  struct Case {
    int player;
    std::int32_t js1, js2, heading;
  };
  const Case cases[] = {{1, 0, 2, 9}, {1, 1, 0, 10}, {1, 2, 0, 8}, {2, 1, 2, 8},
                        {2, 1, 0, 9}, {2, 1, 3, 9},  {1, -1, 1, 9}};
  for (const Case& c : cases) {
    settings.JoyStick1 = c.js1;
    settings.JoyStick2 = c.js2;
    state().CurPlayer = c.player;
    ship().Heading = 9;
    world->JoyState = JOYINFO{32768, 32768, 0, 0};
    world->ReadControls();
    EXPECT_EQ(ship().Heading, c.heading) << c.player << " " << c.js1 << " " << c.js2;
  }
}

TEST_F(ControlsTest, AJoystickThatCannotBeReadIsAStickAtRest) {
  // Steps in order: each row changes the joystick, then reads the controls once.
  struct Step {
    const char* what;
    bool plugged;
    JOYINFO info;
    std::int32_t heading;  // from 9
    bool thrust, fired;
  };
  const JOYINFO hardRightForwardFiring{65535, 0, 0, JOY_BUTTON1};
  const Step steps[] = {
      {"never plugged in", false, {}, 9, false, false},
      {"plugged in", true, hardRightForwardFiring, 8, true, true},
      {"unplugged", false, {}, 9, false, false},
      {"plugged in again", true, hardRightForwardFiring, 8, true, true},
  };
  settings.JoyStick1 = 1;
  for (const Step& s : steps) {
    if (s.plugged) {
      host.joysticks.Set(JOYSTICKID1, s.info);
    } else {
      host.joysticks.Unplug(JOYSTICKID1);
    }
    ship() = TShip{.X = 1000, .Y = 1000, .Heading = 9};
    missile(1).Life = 0;
    state().FireLatch = true;
    world->ReadControls();
    EXPECT_EQ(ship().Heading, s.heading) << s.what;
    EXPECT_EQ(ship().Thrusting, s.thrust) << s.what;
    EXPECT_EQ(missile(1).Life > 0, s.fired) << s.what;
    EXPECT_EQ(world->JoyState, s.plugged ? s.info : kJoystickCentred) << s.what;
  }
}

}  // namespace
}  // namespace kelvarok::testing
