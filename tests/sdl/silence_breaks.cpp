// Counts the breaks a listener hears in a recording of a sound server's
// monitor: runs of exact silence of at least 1 ms that cut into a loud sound
// (the 2 ms before the run reach a sixteenth of full scale) and after which
// sound comes back. The effects fade to silence at their ends and are at most
// a few steps of 8-bit samples loud where they pass through silence, so a
// sound that ends or pauses by itself is no break; a device that runs dry in
// the middle of a sound is.
//
// Usage: kelvarok_silence_breaks FILE.raw   (s16le, 2 channels, 48000/s)
// Prints "breaks=N broken_ms=M sound_ms=S" and exits 0, or 2 on a bad file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr int kChannels = 2;
constexpr int kRate = 48000;
constexpr std::size_t kShortestBreak = kRate / 1000;  // 1 ms
constexpr std::size_t kLookBack = kRate / 500;        // 2 ms
constexpr int kLoud = 2048;

// The loudest sample of either channel in each frame.
std::vector<int> FramePeaks(const std::vector<char>& bytes) {
  std::vector<int> peaks(bytes.size() / (2 * kChannels));
  for (std::size_t frame = 0; frame < peaks.size(); ++frame) {
    int peak = 0;
    for (int channel = 0; channel < kChannels; ++channel) {
      const std::size_t at = (frame * kChannels + channel) * 2;
      const auto sample = static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[at]) |
                                                    static_cast<std::uint8_t>(bytes[at + 1]) << 8);
      peak = std::max(peak, std::abs(int{sample}));
    }
    peaks[frame] = peak;
  }
  return peaks;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: kelvarok_silence_breaks FILE.raw\n");
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "kelvarok_silence_breaks: cannot read %s\n", argv[1]);
    return 2;
  }
  const std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                                std::istreambuf_iterator<char>());
  const std::vector<int> peaks = FramePeaks(bytes);
  std::size_t breaks = 0;
  std::size_t broken_frames = 0;
  std::size_t sound_frames = 0;
  std::size_t frame = 0;
  while (frame < peaks.size()) {
    if (peaks[frame] != 0) {
      ++sound_frames;
      ++frame;
      continue;
    }
    const std::size_t start = frame;
    while (frame < peaks.size() && peaks[frame] == 0) ++frame;
    const bool sound_returns = frame < peaks.size();
    int before = 0;
    for (std::size_t i = start >= kLookBack ? start - kLookBack : 0; i < start; ++i)
      before = std::max(before, peaks[i]);
    if (sound_returns && frame - start >= kShortestBreak && before >= kLoud) {
      ++breaks;
      broken_frames += frame - start;
    }
  }
  std::printf("breaks=%zu broken_ms=%zu sound_ms=%zu\n", breaks, broken_frames * 1000 / kRate,
              sound_frames * 1000 / kRate);
  return 0;
}
