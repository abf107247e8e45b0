#include "sound/session_settings.h"

#include <algorithm>

#include "sound/mixer_module.h"

namespace kelvarok {

DefaultSettings ReadDefaultSettings(IniReader& ini) {
  const auto read = [&ini](const char* key, std::int32_t fallback) {
    return ini.GetPrivateProfileIntA("default", key, fallback, kMixerIniFile);
  };
  DefaultSettings settings;
  settings.remix = read("Remix", 1);
  settings.good_wave_pos = read("GoodWavePos", 0);
  settings.wave_blocks = read("WaveBlocks", 3);
  settings.wave_block_len = read("WaveBlockLen", 0) & 0xFFFC;
  settings.samples_per_sec = read("SamplesPerSec", 11);
  return settings;
}

std::int32_t BlockCountOf(std::uint32_t wave_blocks) {
  return std::clamp(static_cast<std::int32_t>(wave_blocks), 2, 6);
}

bool IsRateCode(std::uint32_t code) {
  return code == 11 || code == 22 || code == 44;
}

std::uint32_t SamplesPerSecOf(std::uint32_t code) {
  if (code == 22) return 22050;
  if (code == 44) return 44100;
  return 11025;
}

std::uint32_t BlockLengthOf(std::uint32_t device_block_len, std::uint32_t default_block_len,
                            std::uint32_t samples_per_sec, std::uint16_t block_align) {
  std::uint32_t length = std::min(samples_per_sec / 11025 * 2048, 4096u);
  if (device_block_len != 0) {
    length = std::clamp(device_block_len, 512u, 4096u);
  } else if (default_block_len != 0) {
    length = std::clamp(default_block_len, 512u, 4096u);
  }
  // A block that ended inside a sample frame would start the next one on the
  // wrong channel. Rounded down from at least 512, it keeps at least a frame.
  return length - length % block_align;
}

}  // namespace kelvarok
