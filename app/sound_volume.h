// The wave output volume that a SoundVolume percentage stands for.
#pragma once

#include <cstdint>

namespace kelvarok {

// The level on each channel: SoundVolume x 65535 / 100, truncated. A stored
// percentage outside 0..100 is taken as the nearer end, so a hand-edited
// value can neither overflow nor come out as an arbitrary loudness.
std::uint16_t VolumeLevel(std::int32_t soundVolume);

// The 32-bit device volume: the level for the left channel in the low 16
// bits, the same level for the right channel in the high 16 bits.
std::uint32_t WaveVolume(std::int32_t soundVolume);

}  // namespace kelvarok
