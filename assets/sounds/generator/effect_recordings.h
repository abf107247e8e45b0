// The five effect recordings the game embeds, in effect-number order, and how
// each becomes its RIFF WAVE image.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "assets/sounds/generator/wave_image.h"

namespace kelvarok::sfx {

struct EffectRecording {
  const char* file;  // under assets/sounds/
  std::uint32_t rate;
  std::size_t data_bytes;
  std::size_t image_bytes;
  WaveInfo info;
  std::vector<double> (*synthesize)(std::size_t count, double rate);
};

// 0 explosion, 1 hyperspace, 2 missile, 3 thrust, 4 bonus.
extern const std::array<EffectRecording, 5> kEffectRecordings;

std::vector<std::uint8_t> BuildEffectImage(const EffectRecording& effect);

}  // namespace kelvarok::sfx
