// The conversion of the mixer's samples to the audio device's rate: values,
// frames held back, and the source bytes taken, which the byte position the
// mixer reads is made of.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "sdl/rate_converter.h"
#include "sdl/sdl_wave_out.h"

namespace kelvarok {
namespace {

WAVEFORMATEX Pcm(std::uint16_t bits, std::uint16_t channels, std::uint32_t rate) {
  const auto align = static_cast<std::uint16_t>(channels * bits / 8);
  return WAVEFORMATEX{WAVE_FORMAT_PCM, channels, rate, rate * align, align, bits};
}

TEST(RateConverter, ConvertsSamplesBetweenRates) {
  struct Row {
    const char* what;
    WAVEFORMATEX source;
    int target_rate;
    std::vector<std::uint8_t> bytes;
    std::vector<std::int16_t> samples;
  };
  const Row rows[] = {
      {"8-bit up twice: halfway values between frames",
       Pcm(8, 1, 11025),
       22050,
       {192, 64, 128},
       {0, 8192, 16384, 0}},
      {"16-bit stereo, same rate: one frame held back",
       Pcm(16, 2, 44100),
       44100,
       {0xE8, 0x03, 0x18, 0xFC, 0xD0, 0x07, 0x30, 0xF8, 0, 0, 0, 0, 0, 0, 0, 0},
       {0, 0, 1000, -1000, 2000, -2000}},
      {"8-bit down by half: every second frame, full scale",
       Pcm(8, 1, 22050),
       11025,
       {255, 0, 136, 64, 0, 0, 0},
       {0, -32768, -16384}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    RateConverter converter(row.source, row.target_rate);
    std::vector<std::int16_t> samples(row.samples.size(), 0x7777);
    converter.Convert(row.bytes, samples);
    EXPECT_EQ(samples, row.samples);
  }
}

// Summed over many buffers, the bytes taken are exactly the source's share of
// the frames played (no drift of the position against the clock), and each
// buffer is given all it reads (a steady source never turns to silence).
TEST(RateConverter, TakesTheSourcesShareOfEveryBuffer) {
  struct Row {
    WAVEFORMATEX source;
    int target_rate;
    std::size_t buffer_frames;
    std::size_t first_bytes;
    std::size_t total_bytes;  // after 100 buffers
  };
  const Row rows[] = {
      // One frame more at the start: the frame held back.
      {Pcm(8, 1, 11025), 48000, 256, 59, 5881},     // 58.8 source frames a buffer
      {Pcm(16, 2, 22050), 44100, 256, 516, 51204},  // 128 frames of 4 bytes
      {Pcm(8, 2, 44100), 48000, 240, 442, 44102},   // 220.5 frames of 2 bytes
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.target_rate);
    RateConverter converter(row.source, row.target_rate);
    std::vector<std::int16_t> samples(row.buffer_frames * row.source.nChannels);
    EXPECT_EQ(converter.SourceBytesFor(row.buffer_frames), row.first_bytes);
    std::size_t total = 0;
    for (int buffer = 0; buffer < 100; ++buffer) {
      // 0x7F in every byte: -256 in 8 bits, 0x7F7F in 16.
      const std::vector<std::uint8_t> bytes(converter.SourceBytesFor(row.buffer_frames), 0x7F);
      total += bytes.size();
      converter.Convert(bytes, samples);
      const std::int16_t steady = row.source.wBitsPerSample == 16 ? 0x7F7F : -256;
      if (buffer > 0) {
        ASSERT_EQ(std::count(samples.begin(), samples.end(), steady), samples.size());
      }
    }
    EXPECT_EQ(total, row.total_bytes);
  }
}

TEST(SdlDeviceFrames, LastAtLeastTheBufferTimeInAPowerOfTwo) {
  const struct {
    int rate, milliseconds;
    Uint16 frames;
  } rows[] = {{48000, 5, 256}, {48000, 10, 512},  {48000, 11, 1024},    {44100, 10, 512},
              {11025, 5, 64},  {8000, 200, 2048}, {192000, 200, 0x8000}};
  for (const auto& row : rows)
    EXPECT_EQ(SdlDeviceFrames(row.rate, row.milliseconds), row.frames) << row.rate;
}

TEST(SdlBufferMilliseconds, ComesFromTheVariableWithinBounds) {
  const std::pair<const char*, int> rows[] = {
      {nullptr, kSdlDefaultBufferMs}, {"", kSdlDefaultBufferMs},   {"junk", kSdlDefaultBufferMs},
      {"-3", kSdlDefaultBufferMs},    {"1", kSdlShortestBufferMs}, {"40", 40},
      {"5000", kSdlLongestBufferMs}};
  for (const auto& [setting, milliseconds] : rows)
    EXPECT_EQ(SdlBufferMilliseconds(setting), milliseconds) << (setting ? setting : "unset");
}

}  // namespace
}  // namespace kelvarok
