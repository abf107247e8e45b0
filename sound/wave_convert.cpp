#include "sound/wave_convert.h"

#include <cstdint>
#include <limits>

#include "sound/mixer_messages.h"

namespace kelvarok {

namespace {

[[noreturn]] void Unsupported() {
  throw EWaveMixError(kFormatNotSupportedMessage);
}

// 16-bit signed to 8-bit unsigned: the high byte with its top bit inverted.
MixBuffer ToEightBits(MixBuffer in, MixerMemory& memory) {
  MixBuffer out = AllocateSamples(memory, in.size() / 2);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto sample = static_cast<std::int16_t>(in.data()[2 * i] | in.data()[2 * i + 1] << 8);
    out.data()[i] = static_cast<std::uint8_t>((sample >> 8) + 128);
  }
  return out;
}

MixBuffer ToStereo(MixBuffer in, MixerMemory& memory) {
  MixBuffer out = AllocateSamples(memory, in.size() * 2);
  for (std::size_t i = 0; i < in.size(); ++i) {
    out.data()[2 * i] = in.data()[i];
    out.data()[2 * i + 1] = in.data()[i];
  }
  return out;
}

MixBuffer ToMono(MixBuffer in, MixerMemory& memory) {
  MixBuffer out = AllocateSamples(memory, in.size() / 2);
  for (std::size_t i = 0; i < out.size(); ++i) {
    out.data()[i] = static_cast<std::uint8_t>((in.data()[2 * i] + in.data()[2 * i + 1]) >> 1);
  }
  return out;
}

// Each source frame becomes k frames stepping toward the next one; the last
// is repeated.
MixBuffer UpSample(MixBuffer in, std::size_t frame, std::uint32_t k, MixerMemory& memory) {
  const std::size_t frames = in.size() / frame;
  const std::uint64_t bytes = std::uint64_t{frames} * k * frame;
  if (bytes > std::numeric_limits<std::uint32_t>::max()) throw EWaveMixError(kOutOfMemoryMessage);
  MixBuffer out = AllocateSamples(memory, static_cast<std::size_t>(bytes));
  const auto step_count = static_cast<int>(k);
  std::uint8_t* to = out.data();
  for (std::size_t i = 0; i < frames; ++i) {
    const std::uint8_t* current = in.data() + i * frame;
    const std::uint8_t* next = i + 1 < frames ? current + frame : current;
    for (std::size_t c = 0; c < frame; ++c) {
      const int step = (next[c] - current[c]) / step_count;
      for (int j = 0; j < step_count; ++j) {
        to[static_cast<std::size_t>(j) * frame + c] =
            static_cast<std::uint8_t>(current[c] + j * step);
      }
    }
    to += static_cast<std::size_t>(k) * frame;
  }
  return out;
}

// Each output frame is the mean of k source frames around 128; the last is
// a copy of its first source frame.
MixBuffer DownSample(MixBuffer in, std::size_t frame, std::uint64_t k, MixerMemory& memory) {
  const std::size_t frames = in.size() / frame / k;
  if (frames == 0) return MixBuffer();
  MixBuffer out = AllocateSamples(memory, frames * frame);
  const auto divisor = static_cast<std::int64_t>(k);
  for (std::size_t m = 0; m < frames; ++m) {
    const std::uint8_t* first = in.data() + m * k * frame;
    for (std::size_t c = 0; c < frame; ++c) {
      if (m + 1 == frames) {
        out.data()[m * frame + c] = first[c];
        continue;
      }
      std::int64_t sum = 0;
      for (std::uint64_t j = 0; j < k; ++j) sum += first[j * frame + c] - 128;
      out.data()[m * frame + c] = static_cast<std::uint8_t>(128 + sum / divisor);
    }
  }
  return out;
}

}  // namespace

MixBuffer ConvertWave(MixBuffer samples, const WAVEFORMATEX& source, const WAVEFORMATEX& output,
                      MixerMemory& memory) {
  if (source.nChannels == output.nChannels && source.nSamplesPerSec == output.nSamplesPerSec &&
      source.wBitsPerSample == output.wBitsPerSample) {
    return samples;
  }
  if (source.wBitsPerSample != output.wBitsPerSample) {
    if (source.wBitsPerSample != 16 || output.wBitsPerSample != 8) Unsupported();
    samples = ToEightBits(std::move(samples), memory);
  }
  if (source.nChannels != output.nChannels) {
    if (source.nChannels == 1 && output.nChannels == 2) {
      samples = ToStereo(std::move(samples), memory);
    } else if (source.nChannels == 2 && output.nChannels == 1) {
      samples = ToMono(std::move(samples), memory);
    } else {
      Unsupported();
    }
  }
  const std::uint32_t rate_in = source.nSamplesPerSec;
  const std::uint32_t rate_out = output.nSamplesPerSec;
  const std::size_t frame = output.nChannels;
  if (rate_in == 0) Unsupported();
  if (rate_in < rate_out) return UpSample(std::move(samples), frame, rate_out / rate_in, memory);
  if (rate_in > rate_out) {
    // In 64 bits: a rate near 2^32 would otherwise wrap to a ratio of 0.
    const std::uint64_t k = (std::uint64_t{rate_in} + rate_out / 2) / rate_out;
    return DownSample(std::move(samples), frame, k, memory);
  }
  return samples;
}

}  // namespace kelvarok
