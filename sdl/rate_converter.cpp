#include "sdl/rate_converter.h"

namespace kelvarok {

RateConverter::RateConverter(const WAVEFORMATEX& source, int target_rate)
    : source_rate_(source.nSamplesPerSec),
      target_rate_(static_cast<std::uint64_t>(target_rate)),
      channels_(source.nChannels),
      frame_bytes_(source.nBlockAlign),
      sixteen_(source.wBitsPerSample == 16),
      phase_(target_rate_) {}

std::size_t RateConverter::SourceBytesFor(std::size_t target_frames) const {
  const std::uint64_t frames = (phase_ + target_frames * source_rate_) / target_rate_;
  return static_cast<std::size_t>(frames) * frame_bytes_;
}

std::int32_t RateConverter::Sample(const std::uint8_t* frame, std::size_t channel) const {
  if (!sixteen_) return (frame[channel] - 128) * 256;
  const std::uint8_t* sample = frame + 2 * channel;
  return static_cast<std::int16_t>(sample[0] | (sample[1] << 8));
}

void RateConverter::Convert(std::span<const std::uint8_t> source, std::span<std::int16_t> target) {
  std::size_t next = 0;
  const auto rate = static_cast<std::int64_t>(target_rate_);
  for (std::size_t i = 0; i + channels_ <= target.size(); i += channels_) {
    const auto phase = static_cast<std::int64_t>(phase_);
    for (std::size_t c = 0; c < channels_; ++c)
      target[i + c] = static_cast<std::int16_t>(from_[c] + (to_[c] - from_[c]) * phase / rate);
    for (phase_ += source_rate_; phase_ >= target_rate_; phase_ -= target_rate_) {
      from_ = to_;
      const bool given = next + frame_bytes_ <= source.size();
      for (std::size_t c = 0; c < channels_; ++c)
        to_[c] = given ? Sample(source.data() + next, c) : 0;
      next += frame_bytes_;
    }
  }
}

}  // namespace kelvarok
