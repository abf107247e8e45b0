// The player's settings that the game reads while it runs: key bindings,
// joystick assignments and the five sound switches. Loaded and saved by the
// desktop shell's settings store; the option dialogs edit them.
#pragma once

#include <cstdint>

namespace kelvarok {

struct GameSettings {
  bool PhaserSounds = true;          // effect 2, missile fired
  bool CrashSounds = true;           // effect 0, explosion
  bool ThrustSounds = true;          // effect 3, thrust
  bool HyperSpaceSounds = true;      // effect 1, hyperspace
  bool BonusSounds = true;           // effect 4, bonus points
  std::int32_t SoundVolume = 70;     // percent
  std::int32_t JoyStick1 = 0;        // player 1: 0 none, 1 first joystick, 2 second
  std::int32_t JoyStick2 = 0;        // player 2, the same coding
  std::uint16_t FireKey = 17;        // Ctrl
  std::uint16_t ThrustKey = 38;      // Up arrow
  std::uint16_t LeftKey = 37;        // Left arrow
  std::uint16_t RightKey = 39;       // Right arrow
  std::uint16_t HyperSpaceKey = 32;  // Space
};

}  // namespace kelvarok
