// The player's settings that the game reads while it runs: key bindings,
// joystick assignments and the five sound switches. Loaded and saved by the
// desktop shell's settings store; the option dialogs edit them.
#pragma once

#include <cstdint>

#include "game/effect.h"

namespace kelvarok {

struct GameSettings {
  bool PhaserSounds = true;          // missile fired
  bool CrashSounds = true;           // explosion
  bool ThrustSounds = true;          // thrust
  bool HyperSpaceSounds = true;      // hyperspace
  bool BonusSounds = true;           // bonus points
  std::int32_t SoundVolume = 70;     // percent
  std::int32_t JoyStick1 = 0;        // player 1: 0 none, 1 first joystick, 2 second
  std::int32_t JoyStick2 = 0;        // player 2, the same coding
  std::uint16_t FireKey = 17;        // Ctrl
  std::uint16_t ThrustKey = 38;      // Up arrow
  std::uint16_t LeftKey = 37;        // Left arrow
  std::uint16_t RightKey = 39;       // Right arrow
  std::uint16_t HyperSpaceKey = 32;  // Space
  friend bool operator==(const GameSettings&, const GameSettings&) = default;
};

// The switch that lets an effect be heard during a game: settings.*SoundSwitch(e).
constexpr bool GameSettings::*SoundSwitch(Effect effect) {
  switch (effect) {
    case Effect::Explosion:
      return &GameSettings::CrashSounds;
    case Effect::Hyperspace:
      return &GameSettings::HyperSpaceSounds;
    case Effect::Missile:
      return &GameSettings::PhaserSounds;
    case Effect::Thrust:
      return &GameSettings::ThrustSounds;
    case Effect::Bonus:
      return &GameSettings::BonusSounds;
  }
  return &GameSettings::BonusSounds;
}

}  // namespace kelvarok
