// The committed effect recordings as the tests read them, and small
// measurements of their samples.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

namespace kelvarok::testing {

// What each effect's image must be, in effect-number order.
struct ExpectedEffect {
  const char* file;
  std::uint32_t rate;
  std::size_t data_bytes;
  std::size_t image_bytes;
};

inline constexpr ExpectedEffect kExpectedEffects[] = {
    {"explosion.wav", 22050, 23220, 23346}, {"hyperspace.wav", 11025, 10461, 10588},
    {"missile.wav", 11025, 2230, 2356},     {"thrust.wav", 11025, 5878, 6004},
    {"bonus.wav", 11025, 8005, 8242},
};

inline std::vector<std::uint8_t> ReadCommittedEffect(const std::string& file) {
  std::ifstream in(std::string(KELVAROK_SOURCE_DIR "/assets/sounds/") + file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::uint32_t U32At(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
         static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

inline std::uint32_t U16At(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8;
}

inline std::string TagAt(std::span<const std::uint8_t> bytes, std::size_t at) {
  return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                     bytes.begin() + static_cast<std::ptrdiff_t>(at + 4));
}

// The samples of a committed effect around silence (-128..127); the "data"
// chunk sits right behind the 16-byte "fmt " chunk.
inline std::vector<int> CommittedSamples(const std::string& file) {
  const std::vector<std::uint8_t> image = ReadCommittedEffect(file);
  std::vector<int> samples;
  if (image.size() < 44) return samples;
  const std::size_t count = U32At(image, 40);
  for (std::size_t i = 0; i < count && 44 + i < image.size(); ++i)
    samples.push_back(static_cast<int>(image[44 + i]) - 128);
  return samples;
}

inline double Rms(std::span<const int> samples) {
  double sum = 0.0;
  for (const int s : samples) sum += static_cast<double>(s) * s;
  return samples.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(samples.size()));
}

// Sign changes per sample: twice the frequency of a tone over the rate.
inline double ZeroCrossingRate(std::span<const int> samples) {
  int crossings = 0;
  for (std::size_t i = 1; i < samples.size(); ++i)
    if ((samples[i - 1] < 0) != (samples[i] < 0)) ++crossings;
  return samples.size() < 2 ? 0.0 : crossings / static_cast<double>(samples.size() - 1);
}

// The samples cut into pieces of length samples (the remainder dropped).
inline std::vector<std::span<const int>> Windows(std::span<const int> samples, std::size_t length) {
  std::vector<std::span<const int>> windows;
  for (std::size_t at = 0; at + length <= samples.size(); at += length)
    windows.push_back(samples.subspan(at, length));
  return windows;
}

inline std::vector<std::span<const int>> Tenths(std::span<const int> samples) {
  return Windows(samples, samples.size() / 10);
}

}  // namespace kelvarok::testing
