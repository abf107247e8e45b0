// The game's sound in headless runs: what the WAV holds, focus changes, and
// a trace that sound leaves untouched.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <variant>

#include "sim/recorded_sound.h"
#include "sim/simulator.h"
#include "tests/game/flow_test_support.h"

namespace kelvarok::sim {
namespace {

constexpr std::uint32_t kBytesPerSecond = 11025;  // the mixer's default output
const char* const kOneShot = "0 menu N1Playerstart1\n2500 key 17 down\n2540 key 17 up\n";

struct Outcome {
  std::string trace;
  std::vector<std::uint8_t> samples;  // the WAV's data chunk
  std::vector<std::string> reports;

  // The samples of the milliseconds [from, to).
  std::vector<std::uint8_t> Between(std::uint32_t from, std::uint32_t to) const {
    const auto at = [&](std::uint32_t ms) {
      return std::min<std::size_t>(samples.size(), std::size_t{ms} * kBytesPerSecond / 1000);
    };
    return {samples.begin() + static_cast<std::ptrdiff_t>(at(from)),
            samples.begin() + static_cast<std::ptrdiff_t>(at(to))};
  }
};

bool Silent(const std::vector<std::uint8_t>& bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 128; });
}

// The bytes after the 44-byte PCM header the recorder writes.
std::vector<std::uint8_t> WavData(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
  if (file.size() < 44 || std::string(file.begin() + 36, file.begin() + 40) != "data") {
    ADD_FAILURE() << "not a recorder's WAV file";
    return {};
  }
  const std::uint32_t size = file[40] | file[41] << 8 | file[42] << 16 | file[43] << 24;
  EXPECT_EQ(file.size(), 44u + size + (size & 1));
  return {file.begin() + 44, file.begin() + 44 + std::min<std::size_t>(size, file.size() - 44)};
}

Outcome RunSim(const std::string& script, std::uint32_t until, bool autopilot, bool withSound) {
  static const SpriteSet sprites = testing::MakeTestSprites();
  testing::FixedTextPainter text;
  auto parsed = ParseScript(script);
  EXPECT_TRUE(std::holds_alternative<std::vector<ScriptEvent>>(parsed));
  std::ostringstream trace;
  SimOptions options;
  options.script = std::get<std::vector<ScriptEvent>>(parsed);
  options.until = until;
  options.autopilot = autopilot;
  options.seed = 3;
  options.trace = &trace;
  Simulator sim(sprites, text, std::move(options));
  Outcome out;
  std::optional<RecordedSound> sound;
  const std::filesystem::path wav = std::filesystem::temp_directory_path() /
                                    ("kelvarok-sim-audio-" + std::to_string(::getpid()) + ".wav");
  if (withSound) {
    sound.emplace(sim.host().clock(),
                  [&](const std::string& message) { out.reports.push_back(message); });
    EXPECT_TRUE(sound->RecordTo(wav));
    sim.host().SetSound(*sound);
  }
  sim.Run();
  out.trace = trace.str();
  if (sound) {
    EXPECT_TRUE(sound->Finish());
    out.samples = WavData(wav);
    std::filesystem::remove(wav);
  }
  return out;
}

// The time of the first missile sound in a trace.
std::uint32_t FirstShot(const std::string& trace) {
  const std::size_t event = trace.find(",\"event\":\"sound\",\"n\":2}");
  const std::size_t line = trace.rfind("{\"t\":", event);
  if (event == std::string::npos || line == std::string::npos) {
    ADD_FAILURE() << "no shot";
    return 0;
  }
  return static_cast<std::uint32_t>(std::stoul(trace.substr(line + 5, event - line - 5)));
}

TEST(SimAudioTest, TheWavLastsAsLongAsTheRunAndSoundsFromTheShotOn) {
  const Outcome out = RunSim(kOneShot, 4000, false, true);
  EXPECT_EQ(out.samples.size(), 4000u * kBytesPerSecond / 1000);
  const std::uint32_t shot = FirstShot(out.trace);
  EXPECT_TRUE(Silent(out.Between(0, shot)));
  EXPECT_FALSE(Silent(out.Between(shot, shot + 50)));
  EXPECT_TRUE(out.reports.empty());
}

TEST(SimAudioTest, FocusLossSilencesAtOnceAndFocusGainPlaysTheRest) {
  const std::string script = std::string(kOneShot) + "2560 focus lost\n3500 focus gained\n";
  const Outcome out = RunSim(script, 5000, false, true);
  EXPECT_EQ(out.samples.size(), 5000u * kBytesPerSecond / 1000);
  const std::uint32_t shot = FirstShot(out.trace);
  ASSERT_LT(shot, 2560u);
  EXPECT_FALSE(Silent(out.Between(shot, 2560)));
  EXPECT_TRUE(Silent(out.Between(2561, 3500))) << "in the background";
  EXPECT_FALSE(Silent(out.Between(3500, 3600))) << "the rest of the missile";
}

TEST(SimAudioTest, SoundLeavesTheTraceAsItIs) {
  const Outcome with = RunSim("", 30000, true, true);
  const Outcome without = RunSim("", 30000, true, false);
  EXPECT_EQ(with.trace, without.trace);
  EXPECT_FALSE(Silent(with.samples));
}

}  // namespace
}  // namespace kelvarok::sim
