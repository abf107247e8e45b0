#include "app/sound_volume.h"

#include <algorithm>

namespace kelvarok {

std::uint16_t VolumeLevel(std::int32_t soundVolume) {
  const std::int32_t percent = std::clamp<std::int32_t>(soundVolume, 0, 100);
  return static_cast<std::uint16_t>(percent * 65535 / 100);
}

std::uint32_t WaveVolume(std::int32_t soundVolume) {
  const std::uint32_t level = VolumeLevel(soundVolume);
  return level | (level << 16);
}

}  // namespace kelvarok
