// The game's five sound effects as the RIFF WAVE images built into the program.
#pragma once

#include <cstdint>
#include <span>

namespace kelvarok {

constexpr int kEffectSoundCount = 5;

// The image of effect 0 explosion, 1 hyperspace, 2 missile, 3 thrust or
// 4 bonus, ready for loading from memory; an empty span for any other number.
std::span<const std::uint8_t> EffectSoundImage(int effect);

}  // namespace kelvarok
