// Loading waves: every refusal of the loader and every conversion rule.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>

#include "sound/wave_resources.h"
#include "tests/sound/mixer_rig.h"

namespace kelvarok::testing {
namespace {

constexpr const char* kOutOfMemory =
    "Unable to allocate memory for waveform data.  Try making more memory available by closing "
    "other applications.";

std::vector<std::uint8_t> Samples(const TMixWave* wave) {
  const auto* data = reinterpret_cast<const std::uint8_t*>(wave->Header.lpData);
  return {data, data + wave->Header.dwBufferLength};
}

// Loads image into a fresh session of the given output; the samples or the message.
struct LoadResult {
  std::vector<std::uint8_t> samples;
  std::string error;
};

LoadResult LoadInto(std::vector<std::uint8_t> image, std::uint16_t channels = 1,
                    std::uint16_t rate_code = 11) {
  MixerRig rig;
  TMixConfig config;
  config.dwFlags = MixConfigChannels | MixConfigSamplingRate;
  config.wChannels = channels;
  config.wSamplingRate = rate_code;
  HMIXSESSION session = rig.mixer.WaveMixConfigureInit(&config);
  MMIOINFO info = MemoryInfo(image);
  LoadResult result;
  result.error = ErrorOf([&] {
    TMixWave* wave = rig.mixer.WaveMixOpenWave(session, &info, nullptr, MixWaveFromMemory);
    result.samples = Samples(wave);
    rig.mixer.WaveMixFreeWave(session, wave);
  });
  rig.mixer.WaveMixCloseSession(session);
  EXPECT_EQ(rig.memory.held(), 0) << "a failed or freed wave leaves nothing behind";
  return result;
}

std::vector<std::uint8_t> Le16Samples(std::initializer_list<int> values) {
  std::vector<std::uint8_t> bytes;
  for (int value : values) PutLe(bytes, static_cast<std::uint16_t>(value), 2);
  return bytes;
}

TEST(WaveOpen, RefusalsOfTheLoader) {
  const WaveSpec plain{1, 1, 11025, 8, {1, 2, 3, 4}};
  const auto format = Chunk("fmt ", FormatBody(plain));
  const auto data = Chunk("data", plain.data);
  WaveSpec adpcm = plain;
  adpcm.tag = 2;
  WaveSpec twelve = plain;
  twelve.bits = 12;
  WaveSpec three = plain;
  three.channels = 3;
  WaveSpec no_rate = plain;
  no_rate.rate = 0;
  WaveSpec wide_short{1, 2, 11025, 16, {1, 2, 3}};
  auto truncated = WaveImage(plain);
  truncated.resize(truncated.size() - 16);  // LIST and the last data bytes cut off

  struct Case {
    const char* name;
    std::vector<std::uint8_t> image;
    std::string message;
  };
  const Case cases[] = {
      {"empty image", {}, "This is not a WAVE file"},
      {"form AVI", Riff({format, data}, "AVI "), "This is not a WAVE file"},
      {"no fmt", Riff({data}), "WAVE file is corrupted"},
      {"short fmt", Riff({Chunk("fmt ", std::vector<std::uint8_t>(14, 1)), data}),
       "Failed to read format chunk"},
      {"fmt cut by the end", Riff({Chunk("fmt ", {1, 0, 1, 0}, 16)}),
       "Failed to read format chunk"},
      {"tag 2", WaveImage(adpcm), "The file is not a PCM file"},
      {"no data", Riff({format, Chunk("LIST", {'I', 'N', 'F', 'O'})}),
       "WAVE file has no data chunk"},
      {"data before fmt", Riff({data, format}), "WAVE file has no data chunk"},
      {"empty data", Riff({format, Chunk("data", {})}), "The data chunk has no data"},
      {"data longer than the image", truncated, "Failed to read data chunk"},
      {"data size near 4 GB", Riff({format, Chunk("data", {1, 2}, 0xFFFFFFF0)}),
       "Failed to read data chunk"},
      {"12-bit needs a width change", WaveImage(twelve), "File format not supported"},
      {"three channels", WaveImage(three), "File format not supported"},
      {"no rate", WaveImage(no_rate), "File format not supported"},
      {"less than one frame", WaveImage(wide_short), "File format not supported"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LoadInto(c.image).error, c.message);
  }
}

TEST(WaveOpen, ConversionRules) {
  struct Case {
    const char* name;
    WaveSpec spec;
    std::uint16_t out_channels;
    std::uint16_t out_rate;
    std::vector<std::uint8_t> expected;
  };
  const Case cases[] = {
      {"equal format, odd length", {1, 1, 11025, 8, Ramp(5)}, 1, 11, Ramp(5)},
      {"16 to 8 bits",
       {1, 1, 11025, 16, Le16Samples({0, 0x7FFF, -32768, -1, 0x0180})},
       1,
       11,
       {128, 255, 0, 127, 129}},
      {"16 to 8, odd byte dropped", {1, 1, 11025, 16, {0, 0x40, 7}}, 1, 11, {192}},
      {"mono to stereo", {1, 1, 11025, 8, {10, 20}}, 2, 11, {10, 10, 20, 20}},
      {"stereo to mono", {1, 2, 11025, 8, {255, 254, 0, 3, 7}}, 1, 11, {254, 1}},
      {"16-bit stereo to 8-bit mono",
       {1, 2, 11025, 16, Le16Samples({0x7FFF, 0x7FFF, -32768, 0})},
       1,
       11,
       {255, 64}},
      {"down by two, even count",
       {1, 1, 22050, 8, {100, 110, 200, 210, 50, 60}},
       1,
       11,
       {105, 205, 50}},
      {"down by two, odd count", {1, 1, 22050, 8, {100, 110, 200, 210, 50}}, 1, 11, {105, 200}},
      {"down truncates toward zero", {1, 1, 22050, 8, {127, 126, 129, 130}}, 1, 11, {127, 129}},
      {"down by four", {1, 1, 44100, 8, {0, 0, 0, 1, 255, 255, 255, 255, 9}}, 1, 11, {1, 255}},
      {"down rounds the ratio", {1, 1, 20000, 8, {120, 130, 140, 150}}, 1, 11, {125, 140}},
      {"up by two", {1, 1, 11025, 8, {100, 105, 50}}, 1, 22, {100, 102, 105, 78, 50, 50}},
      {"up by four, steps truncate",
       {1, 1, 11025, 8, {0, 10}},
       1,
       44,
       {0, 2, 4, 6, 10, 10, 10, 10}},
      {"up by four downward", {1, 1, 11025, 8, {10, 0}}, 1, 44, {10, 8, 6, 4, 0, 0, 0, 0}},
      {"8000 copied frame for frame", {1, 1, 8000, 8, {1, 2, 3}}, 1, 11, {1, 2, 3}},
      {"stereo up-sampling keeps channels",
       {1, 2, 22050, 8, {0, 100, 10, 100}},
       2,
       44,
       {0, 100, 5, 100, 10, 100, 10, 100}},
      {"mono 8000 into stereo 22050",
       {1, 1, 8000, 8, {0, 10}},
       2,
       22,
       {0, 0, 5, 5, 10, 10, 10, 10}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const LoadResult result = LoadInto(WaveImage(c.spec), c.out_channels, c.out_rate);
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(result.samples, c.expected);
  }
}

TEST(WaveOpen, DownSamplingTooShortGivesNoResult) {
  EXPECT_EQ(LoadInto(WaveImage({1, 1, 44100, 8, {1, 2, 3}})).error,
            "Failed to convert wave format");
  // A rate near 2^32 gives a ratio far beyond the data, not a ratio of 0.
  EXPECT_EQ(LoadInto(WaveImage({1, 1, 0xFFFFA9DE, 8, Ramp(37)})).error,
            "Failed to convert wave format");
}

TEST(WaveOpen, ChunksAroundDataAreSkipped) {
  const WaveSpec spec{1, 1, 11025, 8, Ramp(7)};
  const auto format = Chunk("fmt ", FormatBody(spec));
  std::vector<std::uint8_t> long_format_body = FormatBody(spec);
  long_format_body.insert(long_format_body.end(), {0, 0, 9, 9});
  const std::vector<std::vector<std::uint8_t>> layouts[] = {
      {format, Chunk("data", spec.data), Chunk("LIST", Ramp(30))},
      {format, Chunk("LIST", Ramp(31)), Chunk("fact", {1, 2, 3, 4}), Chunk("data", spec.data)},
      {Chunk("JUNK", Ramp(3)), Chunk("fmt ", long_format_body), Chunk("data", spec.data)},
  };
  for (const auto& layout : layouts) EXPECT_EQ(LoadInto(Riff(layout)).samples, spec.data);
}

TEST(WaveOpen, EffectSizesFromTheGame) {
  EXPECT_EQ(
      LoadInto(WaveImage({1, 1, 22050, 8, std::vector<std::uint8_t>(23220, 128)})).samples.size(),
      11610u);
  EXPECT_EQ(
      LoadInto(WaveImage({1, 1, 11025, 8, std::vector<std::uint8_t>(10461, 128)})).samples.size(),
      10461u);
}

TEST(WaveOpen, EveryAllocationFailureReleasesWhatWasHeld) {
  // Record, data and three conversion buffers: 16-bit stereo 22050 into mono 11025.
  const auto image = WaveImage({1, 2, 22050, 16, Ramp(64)});
  for (int failing = 1; failing <= 5; ++failing) {
    SCOPED_TRACE(failing);
    MixerRig rig;
    HMIXSESSION session = rig.mixer.WaveMixInit();
    const int held = rig.memory.held();
    auto copy = image;
    MMIOINFO info = MemoryInfo(copy);
    rig.memory.FailAt(failing);
    EXPECT_EQ(
        ErrorOf([&] { rig.mixer.WaveMixOpenWave(session, &info, nullptr, MixWaveFromMemory); }),
        kOutOfMemory);
    EXPECT_EQ(rig.memory.held(), held);
  }
}

TEST(WaveOpen, DeviceThatCannotPlayTheFormat) {
  MixerRig rig;
  HMIXSESSION session = rig.mixer.WaveMixInit();
  rig.device.query_error = WAVERR_BADFORMAT;
  auto image = WaveImage({1, 1, 11025, 8, Ramp(4)});
  MMIOINFO info = MemoryInfo(image);
  EXPECT_EQ(ErrorOf([&] { rig.mixer.WaveMixOpenWave(session, &info, nullptr, MixWaveFromMemory); }),
            "The waveform device can\u00B4t play this format");
  EXPECT_EQ(std::string("can\u00B4t"), "can\xC2\xB4t");
}

class TestResources final : public WaveResourceModule {
 public:
  bool LoadWaveResource(const char* name, WaveResource* resource) override {
    const std::string key = IS_INTRESOURCE(name)
                                ? "#" + std::to_string(reinterpret_cast<std::uintptr_t>(name))
                                : std::string(name);
    const auto found = images.find(key);
    if (found == images.end()) return false;
    resource->handle = reinterpret_cast<std::uintptr_t>(&found->second);
    resource->size = static_cast<std::uint32_t>(found->second.size());
    ++loaded;
    return true;
  }
  const char* LockResource(const WaveResource& resource) override {
    if (refuse_lock) return nullptr;
    return reinterpret_cast<const char*>(
        reinterpret_cast<const std::vector<std::uint8_t>*>(resource.handle)->data());
  }
  void FreeResource(const WaveResource&) override { --loaded; }

  std::map<std::string, std::vector<std::uint8_t>> images;
  bool refuse_lock = false;
  int loaded = 0;
};

TEST(WaveOpen, SourcesAndNames) {
  MixerRig rig;
  HMIXSESSION session = rig.mixer.WaveMixInit();
  TestResources resources;
  const auto image = WaveImage({1, 1, 11025, 8, Ramp(6)});
  resources.images["EXPLOSIONSOUNDWAVE"] = image;
  resources.images["#3"] = image;

  const auto name_of = [&](const void* source, std::uint32_t flags) {
    TMixWave* wave = rig.mixer.WaveMixOpenWave(session, source, &resources, flags);
    const std::string name = wave->Name;
    EXPECT_EQ(Samples(wave), Ramp(6));
    rig.mixer.WaveMixFreeWave(session, wave);
    return name;
  };
  EXPECT_EQ(name_of("EXPLOSIONSOUNDWAVE", MixWaveFromResource), "EXPLOSIONSOUNDW");
  EXPECT_EQ(name_of(MAKEINTRESOURCEA(3), MixWaveFromResource | MixWaveFromMemory), "res#3");
  auto memory_image = image;
  MMIOINFO info = MemoryInfo(memory_image);
  EXPECT_EQ(name_of(&info, MixWaveFromMemory), "");
  const std::string path = ::testing::TempDir() + "wave_open_test.wav";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(image.data()),
             static_cast<std::streamsize>(image.size()));
  EXPECT_EQ(name_of(path.c_str(), 0), path.substr(0, 15));
  EXPECT_EQ(resources.loaded, 0);

  EXPECT_EQ(ErrorOf([&] {
              rig.mixer.WaveMixOpenWave(session, MAKEINTRESOURCEA(7), &resources,
                                        MixWaveFromResource);
            }),
            "Failed to open \"WAVE\" resource 7");
  EXPECT_EQ(ErrorOf([&] {
              rig.mixer.WaveMixOpenWave(session, "NOSUCH", &resources, MixWaveFromResource);
            }),
            "Failed to open \"WAVE\" resource NOSUCH");
  resources.refuse_lock = true;
  EXPECT_EQ(ErrorOf([&] {
              rig.mixer.WaveMixOpenWave(session, MAKEINTRESOURCEA(3), &resources,
                                        MixWaveFromResource);
            }),
            "Failed to lock \"WAVE\" resource");
  EXPECT_EQ(resources.loaded, 0);
  EXPECT_EQ(ErrorOf([&] { rig.mixer.WaveMixOpenWave(session, "/no/such.wav", nullptr, 0); }),
            "Failed to open wave file /no/such.wav");
  MMIOINFO broken;
  broken.fccIOProc = FOURCC_MEM;
  broken.cchBuffer = 100;
  EXPECT_EQ(
      ErrorOf([&] { rig.mixer.WaveMixOpenWave(session, &broken, nullptr, MixWaveFromMemory); }),
      "Failed to open memory file, mmioOpen error=258.#13May need to make sure memory is "
      "read-write");
  EXPECT_EQ(ErrorOf([&] { rig.mixer.WaveMixFreeWave(session, nullptr); }),
            "The given pointer was not valid");
  EXPECT_EQ(rig.memory.held(), 1) << "only the session";
}

}  // namespace
}  // namespace kelvarok::testing
