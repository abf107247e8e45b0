// The ship's controls: sampled once per frame from the shared key bindings and
// the current player's joystick, then applied to the ship.
#include <algorithm>

#include "game/game_world.h"

namespace kelvarok {

namespace {

constexpr std::int32_t kSpeedLimit = 9216;  // 9 pixels per frame on each axis
constexpr std::int32_t kMissileLife = 20;
constexpr std::int32_t kMissileSpeedFactor = 10;
constexpr std::int32_t kWarpFrames = 50;

struct JoystickConditions {
  bool fire = false;
  bool hyperspace = false;
  bool thrust = false;
  bool left = false;
  bool right = false;
};

JoystickConditions ConditionsOf(const JOYINFO& info) {
  return {.fire = (info.wButtons & JOY_BUTTON1) != 0,
          .hyperspace = (info.wButtons & JOY_BUTTON2) != 0,
          .thrust = info.wYpos < 6554,
          .left = info.wXpos<16384, .right = info.wXpos> 49152};
}

}  // namespace

void GameWorld::ReadControls() {
  if (state.CurShip().WarpTime > 0) return;
  ApplyControls(host_.FrameControls(SampleControls()));
}

ControlsSample GameWorld::SampleControls() {
  JoystickConditions joy;
  const std::int32_t assignment = state.CurPlayer == 1 ? settings_.JoyStick1 : settings_.JoyStick2;
  if (assignment == 1 || assignment == 2) {
    const std::uint32_t id = assignment == 1 ? JOYSTICKID1 : JOYSTICKID2;
    if (host_.Joysticks().joyGetPos(id, JoyState) != JOYERR_NOERROR) JoyState = kJoystickCentred;
    joy = ConditionsOf(JoyState);
  }
  KeyState& keys = host_.Keys();
  // Read in the order the actions are applied.
  ControlsSample sample;
  sample.fire = KeyDown(keys, settings_.FireKey) || joy.fire;
  sample.hyperspace = KeyDown(keys, settings_.HyperSpaceKey) || joy.hyperspace;
  sample.thrust = KeyDown(keys, settings_.ThrustKey) || joy.thrust;
  sample.left = KeyDown(keys, settings_.LeftKey) || joy.left;
  sample.right = KeyDown(keys, settings_.RightKey) || joy.right;
  return sample;
}

void GameWorld::ApplyControls(const ControlsSample& controls) {
  TShip& ship = state.CurShip();
  if (controls.fire && state.FireLatch) {
    for (int m = 1; m <= kMissileSlots; ++m) {
      TMissile& missile = state.Missiles[m];
      if (missile.Life != 0) continue;
      missile.Life = kMissileLife;
      missile.X = missile.OldX = ship.X;
      missile.Y = missile.OldY = ship.Y;
      missile.VX = state.CosTab[static_cast<std::size_t>(ship.Heading)] * kMissileSpeedFactor;
      missile.VY = state.SinTab[static_cast<std::size_t>(ship.Heading)] * kMissileSpeedFactor;
      state.ShieldTime = 0;
      PlayEffect(Effect::Missile);
      if (!state.BonusMode) {
        std::int32_t& score = state.Score[state.CurPlayer];
        if (score > 0) --score;
        ShowScore();
      }
      break;
    }
  }
  state.FireLatch = !controls.fire;

  // A ship hit earlier in this frame is lost where it stands: a jump now
  // would hide its crash and leave the next ship warping.
  if (controls.hyperspace && state.ShieldTime == 0 && !state.BonusMode && !state.ShipHit) {
    if (random.RandomInt(10) == 0) {
      state.ShipHit = true;
    } else {
      ship.X = random.RandomInt(state.FieldW);
      ship.Y = random.RandomInt(state.FieldH);
      ship.WarpTime = kWarpFrames;
      PlayEffect(Effect::Hyperspace);
    }
  }

  if (controls.thrust && !state.BonusMode) {
    const auto h = static_cast<std::size_t>(ship.Heading);
    ship.VX = std::clamp(ship.VX + state.CosTab[h], -kSpeedLimit, kSpeedLimit);
    ship.VY = std::clamp(ship.VY + state.SinTab[h], -kSpeedLimit, kSpeedLimit);
    ship.Thrusting = true;
  }

  if (controls.left) {
    if (++ship.Heading == kHeadings) ship.Heading = 0;
  }
  if (controls.right) {
    if (--ship.Heading < 0) ship.Heading = kHeadings - 1;
  }
}

}  // namespace kelvarok
