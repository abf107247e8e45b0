// The game world: the model of a game, its random generator, the field bitmap
// with its clean copy and sprites, and every per-frame operation on them. All
// operations act on CurPlayer's ship and rocks and on the shared missiles. A
// test can make a fresh world with its own host, settings and seed.
#pragma once

#include <cstdint>

#include "game/game_settings.h"
#include "game/game_state.h"
#include "game/random.h"
#include "game/sprite_set.h"
#include "game/world_host.h"
#include "platform/bitmap.h"
#include "platform/joystick.h"

namespace kelvarok {

class GameWorld {
 public:
  // The field size is taken from sprites.background; CleanBack is a copy of it.
  GameWorld(const SpriteSet& sprites, const GameSettings& settings, WorldHost& host,
            std::uint64_t seed);

  GameState state;
  Random random;
  Bitmap field;            // what the player sees (iBackGround's picture)
  const Bitmap CleanBack;  // the unmarked background every erase copies from
  // The joystick record: a stick at rest until a read succeeds, and again
  // whenever one fails, so an absent stick never steers the ship.
  JOYINFO JoyState = kJoystickCentred;

  // --- Motion -----------------------------------------------------------
  void MoveShip();
  void MoveRocks();
  void MoveMissiles();        // live missiles, carry wrap
  void MoveMissilesNoWrap();  // live missiles, no wrap (the bonus round)
  std::int32_t RandomVelocity();
  void ShowScore();
  void NewShip();

  // --- Controls ---------------------------------------------------------
  // Samples the controls, lets the host have its say (FrameControls) and
  // applies them; a warping ship reads nothing.
  void ReadControls();
  // Reads the five actions from the keys and the current player's stick.
  ControlsSample SampleControls();
  // Fires, jumps, thrusts and turns as the sample says.
  void ApplyControls(const ControlsSample& controls);

  // --- Rocks, missiles and collisions -------------------------------------
  void SpawnRock(int i, std::int32_t size, std::int32_t x, std::int32_t y);
  void AgeMissiles();
  void MissileHitsRock(int m, std::int32_t x, std::int32_t y);
  void ShipHitsRock(std::int32_t x, std::int32_t y);

  // --- Drawing -------------------------------------------------------------
  void RestoreField();
  void EraseShip(bool crashing);
  void EraseRocks();
  void DrawRocks();
  void DrawMissiles();
  void DrawShip(bool crashing);

  // One whole round-loop frame of world work in its fixed order: moves, warp
  // count-down, erases, ageing and hit tests, draws, repaint request, controls.
  // The shield and penalty clock belong to the round loop.
  void PlayFrame();

  // Plays the effect if the player's settings have its switch on.
  void PlayEffect(Effect effect);

  const GameSettings& settings() const { return settings_; }
  WorldHost& host() { return host_; }

 private:
  const SpriteSet& sprites_;
  const GameSettings& settings_;
  WorldHost& host_;
};

// Edge wrap (ship and rocks): past the limit goes to the opposite edge exactly.
constexpr std::int32_t EdgeWrap(std::int32_t c, std::int32_t limit) {
  if (c > limit) return 0;
  if (c < 0) return limit;
  return c;
}

// Carry wrap (missiles): the overshoot carries over.
constexpr std::int32_t CarryWrap(std::int32_t c, std::int32_t limit) {
  if (c > limit) return c - limit;
  if (c < 0) return c + limit;
  return c;
}

// Fixed point to pixels, truncating toward zero.
constexpr int ToPixels(std::int32_t fixed) {
  return fixed / kFixedOne;
}

}  // namespace kelvarok
