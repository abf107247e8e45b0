// Turns the mixer's PCM (8-bit unsigned or 16-bit signed, one or two
// channels, any rate) into 16-bit signed samples of the same channels at the
// audio device's rate, one device buffer at a time. Between two source frames
// it interpolates linearly; it holds back one source frame (under 0.1 ms at
// 11025 per second), so what it is given is heard in the same buffer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/wave_out.h"

namespace kelvarok {

class RateConverter {
 public:
  RateConverter(const WAVEFORMATEX& source, int target_rate);

  // Bytes of whole source frames that the next target_frames frames take.
  std::size_t SourceBytesFor(std::size_t target_frames) const;
  // Fills target (whole frames) from source, which holds
  // SourceBytesFor(target frames) bytes; missing bytes count as silence.
  void Convert(std::span<const std::uint8_t> source, std::span<std::int16_t> target);

 private:
  std::int32_t Sample(const std::uint8_t* frame, std::size_t channel) const;

  std::uint64_t source_rate_;
  std::uint64_t target_rate_;
  std::size_t channels_;
  std::size_t frame_bytes_;
  bool sixteen_;
  // Where the next target frame lies between from_ (0) and to_ (target_rate_),
  // in steps of 1 / target_rate_ of a source frame. It starts a whole frame
  // on, so that the first source frame is taken at once.
  std::uint64_t phase_;
  std::array<std::int32_t, 2> from_{};
  std::array<std::int32_t, 2> to_{};
};

}  // namespace kelvarok
