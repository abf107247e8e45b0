// Complete RIFF WAVE images of 8-bit mono PCM.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace kelvarok::sfx {

// The texts of the closing "LIST" "INFO" chunk: INAM, ICMT and ISFT.
struct WaveInfo {
  std::string_view name;
  std::string_view comment;
  std::string_view software;
};

// "RIFF" "WAVE" with a 16-byte "fmt " chunk (PCM, 1 channel, rate samples and
// bytes per second, block align 1, 8 bits), the "data" chunk (padded to an even
// length) and last a "LIST" "INFO" chunk, making exactly image_size bytes: the
// comment is followed by as many NULs as fill the room. Throws
// std::length_error when the texts do not fit into image_size, or when an odd
// room would leave the image ill-formed.
std::vector<std::uint8_t> BuildWaveImage(std::span<const std::uint8_t> samples, std::uint32_t rate,
                                         const WaveInfo& info, std::size_t image_size);

}  // namespace kelvarok::sfx
