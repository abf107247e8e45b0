// A fresh game world on a recording host and synthetic sprites whose pixels
// tell which strip and which frame were drawn where.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "game/game_world.h"
#include "platform/joystick.h"
#include "platform/key_state.h"

namespace kelvarok::testing {

// Red channel of every body pixel of a synthetic strip.
enum StripCode : int {
  kShipCode = 10,
  kShieldCode = 20,
  kShipFireCode = 30,
  kShieldFireCode = 40,
  kRockBigCode = 50,
  kRockMediumCode = 60,
  kRockSmallCode = 70,
  kHardRockCode = 80,
  kCrash1Code = 90,
  kCrash2Code = 100,
};

// Strips whose frames are squares with a one-pixel black border (see-through by
// their masks) around a body of Rgb(code, frame, 200); a yellow missile; a
// 750 x 450 background that is nowhere black and differs from every body.
SpriteSet MakeTestSprites();

// Background pixel of the synthetic sprite set at (x, y).
Pixel TestBackgroundAt(int x, int y);

inline int StripCodeOf(Pixel p) {
  return static_cast<int>((p >> 16) & 0xFF);
}
inline int FrameOf(Pixel p) {
  return static_cast<int>((p >> 8) & 0xFF);
}
inline bool IsBody(Pixel p) {
  return (p & 0xFF) == 200;
}

class RecordingWorldHost : public WorldHost {
 public:
  KeyState& Keys() override { return keys; }
  Joystick& Joysticks() override { return joysticks; }
  void SetScoreCaption(int player, const std::string& text) override {
    scoreCaptions[player] = text;
    ++scoreWrites;
  }
  void InvalidateField() override { ++invalidations; }
  void SoundEffect(Effect effect) override { sounds.push_back(effect); }

  KeyTable keys;
  ScriptedJoysticks joysticks;
  std::map<int, std::string> scoreCaptions;
  int scoreWrites = 0;
  int invalidations = 0;
  std::vector<Effect> sounds;
};

// A world on the 750 x 450 test field, player 1 current, no rocks, no missiles,
// RockSpeed 4096, round 1, the ship at rest in the middle, heading 0.
class WorldTest : public ::testing::Test {
 protected:
  explicit WorldTest(std::uint64_t seed = 1);

  TShip& ship() { return world->state.CurShip(); }
  TRock& rock(int slot) { return world->state.CurRocks()[slot]; }
  TMissile& missile(int m) { return world->state.Missiles[m]; }
  GameState& state() { return world->state; }
  // Makes slot i an active rock of the given size at rest at (x, y) pixels.
  TRock& PlaceRock(int slot, std::int32_t size, int x, int y);
  // Makes missile m live at (x, y) pixels with the given life, at rest.
  TMissile& PlaceMissile(int m, int x, int y, std::int32_t life = 20);
  int ActiveRocks();

  SpriteSet sprites = MakeTestSprites();
  GameSettings settings;
  RecordingWorldHost host;
  std::unique_ptr<GameWorld> world;
};

}  // namespace kelvarok::testing
