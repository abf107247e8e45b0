// The game's effects on the mixer: loading, requests, activation, volume and
// failures, judged by the bytes the virtual device plays.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>

#include "assets/sounds/effect_sounds.h"
#include "sound/game_sounds.h"
#include "tests/sound/mixer_rig.h"

namespace kelvarok::testing {
namespace {

// The system's volume before the program starts; the device scales what it
// plays by it, so only the volume tests lower it.
constexpr std::uint32_t kFullVolume = 0xFFFFFFFF;
constexpr std::uint32_t kSystemVolume = 0x12345678;

// A mixer rig with the game's sounds on it, created when the test says so.
struct SoundsRig {
  explicit SoundsRig(RigSetup setup = {}, std::uint32_t system_volume = kFullVolume)
      : rig(std::move(setup)) {
    rig.device.waveOutSetVolume(WAVE_MAPPER, system_volume);
  }

  GameSounds& Start(bool available = true) {
    sounds.emplace(
        GameSoundServices{rig.mixer, rig.device, rig.messages,
                          [this](const std::string& message) { reports.push_back(message); }},
        available);
    sounds->LoadEffects();
    return *sounds;
  }

  // Lets virtual time pass as the desktop's event loop would.
  void RunFor(std::uint32_t ms) {
    for (std::uint32_t i = 0; i < ms; ++i) {
      rig.clock.Advance(1);
      rig.device.Poll();
      sounds->DispatchMixerMessages();
    }
  }

  std::uint32_t Volume() {
    std::uint32_t volume = 0;
    rig.device.waveOutGetVolume(WAVE_MAPPER, &volume);
    return volume;
  }

  std::vector<std::uint8_t>& played() { return rig.device.played; }

  MixerRig rig;
  std::optional<GameSounds> sounds;
  std::vector<std::string> reports;
};

// The bytes of an effect as the mixer holds them.
std::vector<std::uint8_t> Samples(const TMixWave* wave) {
  const auto* data = reinterpret_cast<const std::uint8_t*>(wave->Header.lpData);
  return {data, data + wave->Header.dwBufferLength};
}

// The data chunk of a RIFF WAVE image.
std::vector<std::uint8_t> DataChunk(std::span<const std::uint8_t> image) {
  const auto le32 = [&](std::size_t at) {
    return std::uint32_t{image[at]} | std::uint32_t{image[at + 1]} << 8 |
           std::uint32_t{image[at + 2]} << 16 | std::uint32_t{image[at + 3]} << 24;
  };
  for (std::size_t at = 12; at + 8 <= image.size(); at += 8 + ((le32(at + 4) + 1) & ~1u)) {
    if (std::memcmp(&image[at], "data", 4) == 0) {
      return {image.begin() + static_cast<std::ptrdiff_t>(at + 8),
              image.begin() + static_cast<std::ptrdiff_t>(at + 8 + le32(at + 4))};
    }
  }
  return {};
}

bool IsPrefixOf(std::span<const std::uint8_t> part, std::span<const std::uint8_t> whole) {
  return part.size() <= whole.size() && std::equal(part.begin(), part.end(), whole.begin());
}

TEST(GameSounds, EffectsLoadInTheDefaultOutputFormat) {
  SoundsRig rig;
  GameSounds& sounds = rig.Start();
  ASSERT_TRUE(rig.reports.empty());
  const struct {
    int effect;
    std::uint32_t bytes;
    bool unchanged;
  } cases[] = {
      {0, 11610, false}, {1, 10461, true}, {2, 2230, true}, {3, 5878, true}, {4, 8005, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.effect);
    const TMixWave* wave = sounds.EffectWave(c.effect);
    ASSERT_NE(wave, nullptr);
    EXPECT_EQ(wave->Header.dwBufferLength, c.bytes);
    if (c.unchanged) {
      EXPECT_EQ(Samples(wave), DataChunk(EffectSoundImage(c.effect)));
    }
  }
  EXPECT_EQ(rig.rig.mixer.CurrentSession()->OpenChannels, 5);
}

TEST(GameSounds, RequestsThatPlayNothing) {
  const struct {
    const char* name;
    bool available;
    bool activate;
    Effect effect;
  } cases[] = {
      {"no wave output device", false, true, Effect::Missile},
      {"mixer inactive", true, false, Effect::Missile},
      {"effect below 0", true, true, static_cast<Effect>(-1)},
      {"effect above 4", true, true, static_cast<Effect>(5)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SoundsRig rig;
    GameSounds& sounds = rig.Start(c.available);
    sounds.SetActivated(c.activate);
    sounds.SoundEffect(c.effect);
    rig.RunFor(500);
    EXPECT_TRUE(rig.played().empty());
    EXPECT_TRUE(rig.reports.empty());
  }
}

// Each frame's request clears channel 3 and starts the thrust again from its
// first byte, so only its opening 40 ms are ever heard.
TEST(GameSounds, ThrustRequestedEveryFrameRestartsFromItsFirstByte) {
  SoundsRig rig;
  GameSounds& sounds = rig.Start();
  sounds.SetActivated(true);
  const std::vector<std::uint8_t> thrust = Samples(sounds.EffectWave(3));
  for (int frame = 0; frame < 12; ++frame) {
    SCOPED_TRACE(frame);
    rig.played().clear();
    sounds.SoundEffect(Effect::Thrust);
    rig.RunFor(40);
    EXPECT_EQ(rig.played().size(), 441u);
    EXPECT_TRUE(IsPrefixOf(rig.played(), thrust));
  }
}

bool Audible(std::span<const std::uint8_t> bytes) {
  return std::any_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b != 128; });
}

// What was played up to its last audible byte.
std::vector<std::uint8_t> UpToTheLastSound(std::vector<std::uint8_t> played) {
  while (!played.empty() && played.back() == 128) played.pop_back();
  return played;
}

struct Request {
  std::uint32_t at;
  Effect effect;
};

struct FocusCase {
  const char* name;
  std::vector<Request> requests;
  std::uint32_t lost_at;
  std::uint32_t gained_at;
};

// What a player hears of the requests, up to the last sound.
struct Listening {
  std::vector<std::uint8_t> heard;
  std::size_t at_loss = 0;        // bytes heard when the focus went
  std::size_t in_background = 0;  // bytes played while it was away
};

// Plays the requests at their times, each millisecond's after the device has
// played it. With focus_changes the focus goes and comes back as the case
// says, and a missile asked for in the background is dropped.
Listening Listen(const std::string& ini, const FocusCase& c, bool focus_changes) {
  SoundsRig rig({ini, {}});
  GameSounds& sounds = rig.Start();
  sounds.SetActivated(true);
  Listening result;
  for (std::uint32_t t = 0; t < c.gained_at + 3000; ++t) {
    if (focus_changes && t == c.lost_at) {
      sounds.SetActivated(false);
      result.at_loss = rig.played().size();
    }
    if (focus_changes && t == c.lost_at + 1) sounds.SoundEffect(Effect::Missile);
    if (focus_changes && t == c.gained_at) {
      result.in_background = rig.played().size() - result.at_loss;
      sounds.SetActivated(true);
    }
    for (const Request& request : c.requests) {
      if (request.at == t) sounds.SoundEffect(request.effect);
    }
    rig.RunFor(1);
  }
  result.heard = UpToTheLastSound(rig.played());
  return result;
}

// How far the resumed stream is shifted against the uninterrupted one at the
// seam: 0 when it goes on exactly where it was cut off, negative when bytes
// are heard again, positive when bytes are skipped; none beyond 50 bytes.
std::optional<int> SeamShift(const std::vector<std::uint8_t>& uninterrupted,
                             const Listening& resumed) {
  const std::span<const std::uint8_t> before(resumed.heard.data(), resumed.at_loss);
  if (!IsPrefixOf(before, uninterrupted)) return std::nullopt;
  const std::span<const std::uint8_t> after = std::span(resumed.heard).subspan(resumed.at_loss);
  const auto length = [](const auto& bytes) { return static_cast<std::ptrdiff_t>(bytes.size()); };
  for (int shift = -50; shift <= 50; ++shift) {
    const std::ptrdiff_t from = length(before) + shift;
    if (length(uninterrupted) - from != length(after)) continue;
    if (std::equal(after.begin(), after.end(), uninterrupted.begin() + from)) return shift;
  }
  return std::nullopt;
}

// Switching away silences at once; switching back plays on from the point of
// the cut, however the requests before it remixed the output. Trusting the
// device's counter, that point is exact; by the millisecond clock it is
// within a millisecond of sound.
TEST(GameSounds, FocusLostAndRegainedResumesWhereTheSoundWasCutOff) {
  constexpr Effect kBang = Effect::Explosion;
  constexpr Effect kShot = Effect::Missile;
  std::vector<Request> thrust_held = {{100, kBang}};
  for (std::uint32_t at = 0; at <= 360; at += 40) thrust_held.push_back({at, Effect::Thrust});
  const FocusCase cases[] = {
      {"explosion alone", {{0, kBang}}, 200, 5200},
      {"missiles fired during an explosion",
       {{0, kBang}, {40, kShot}, {80, kShot}, {120, kShot}},
       300,
       1000},
      {"thrust held, with an explosion", thrust_held, 400, 2000},
  };
  const struct {
    const char* ini;
    int most_bytes_off;
  } positions[] = {{"", 11}, {"[default]\nGoodWavePos=1\n", 0}};
  for (const auto& position : positions) {
    for (const FocusCase& c : cases) {
      SCOPED_TRACE(std::string(c.name) + " " + position.ini);
      const Listening uninterrupted = Listen(position.ini, c, false);
      const Listening resumed = Listen(position.ini, c, true);
      EXPECT_EQ(resumed.in_background, 0u);
      ASSERT_GT(resumed.heard.size(), resumed.at_loss) << "cut off mid-sound";
      const std::optional<int> shift = SeamShift(uninterrupted.heard, resumed);
      ASSERT_TRUE(shift.has_value()) << "the rest of the sound, nothing else";
      EXPECT_LE(std::abs(*shift), position.most_bytes_off);
    }
  }
}

TEST(GameSounds, SliderLevelsOnBothChannels) {
  const std::uint32_t levels[] = {0,     6553,  13107, 19660, 26214, 32767,
                                  39321, 45874, 52428, 58981, 65535};
  for (std::int32_t position = 0; position <= 10; ++position) {
    SCOPED_TRACE(position);
    const std::uint32_t volume = GameSounds::WaveVolume(position * 10);
    EXPECT_EQ(volume & 0xFFFF, levels[position]);
    EXPECT_EQ(volume >> 16, levels[position]);
  }
  EXPECT_EQ(GameSounds::WaveVolume(150), GameSounds::WaveVolume(100));
  EXPECT_EQ(GameSounds::WaveVolume(-20), 0u);
  EXPECT_EQ(GameSounds::WaveVolume(2'000'000'000), GameSounds::WaveVolume(100));
}

TEST(GameSounds, TheSystemVolumeIsSetAndPutBack) {
  SoundsRig rig({}, kSystemVolume);
  GameSounds& sounds = rig.Start();
  sounds.ApplySoundVolume(70);
  EXPECT_EQ(rig.Volume(), 45874u * 0x10001u);
  sounds.ApplySoundVolume(0);
  EXPECT_EQ(rig.Volume(), 0u);
  sounds.RestoreSystemVolume();
  EXPECT_EQ(rig.Volume(), kSystemVolume);
}

// Whatever stops sound at start-up, the rest of the program goes on as if
// there were no device: nothing plays and the volume is never touched.
TEST(GameSounds, StartWithoutSound) {
  const struct {
    const char* name;
    RigSetup setup;
    bool available;
    std::vector<std::string> reports;
  } cases[] = {
      {"no device", {"", {0}}, false, {}},
      {"device refused by WAVEMIX.INI",
       {"[not compatible]\nVirtual Wave Out=1\n", {}},
       true,
       {"Virtual Wave Out is not compatible with the realtime wavemixer"}},
      {"synchronous device",
       {"", {1, "Slow Card", 2, WAVECAPS_SYNC}},
       true,
       {"Slow Card is a syncronous (blocking) wave output device.  This will not permit audio to "
        "play while other applications are running"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SoundsRig rig(c.setup, kSystemVolume);
    GameSounds& sounds = rig.Start(c.available);
    EXPECT_EQ(rig.reports, c.reports);
    EXPECT_FALSE(sounds.SoundAvailable());
    EXPECT_EQ(rig.rig.mixer.CurrentSession(), nullptr);
    sounds.SetActivated(true);
    sounds.SoundEffect(Effect::Explosion);
    sounds.ApplySoundVolume(70);
    rig.RunFor(300);
    sounds.RestoreSystemVolume();
    EXPECT_TRUE(rig.played().empty());
    EXPECT_EQ(rig.Volume(), kSystemVolume);
    EXPECT_EQ(rig.reports.size(), c.reports.size()) << "reported once";
  }
}

// An effect that cannot be loaded frees the mixer and what was loaded; the
// volume read at start-up still comes back at exit.
TEST(GameSounds, AnEffectThatCannotBeLoadedEndsSound) {
  int failures = 0;
  for (int failing = 1; failing <= 5; ++failing) {
    SCOPED_TRACE(failing);
    SoundsRig rig({}, kSystemVolume);
    const int before = rig.rig.memory.held();
    GameSounds sounds(
        GameSoundServices{rig.rig.mixer, rig.rig.device, rig.rig.messages,
                          [&](const std::string& message) { rig.reports.push_back(message); }},
        true);
    rig.rig.memory.FailAt(failing);
    sounds.LoadEffects();
    if (rig.reports.empty()) continue;  // this allocation is not one of the loads
    ++failures;
    EXPECT_EQ(rig.reports.size(), 1u);
    EXPECT_FALSE(sounds.SoundAvailable());
    EXPECT_EQ(rig.rig.memory.held(), before);
    sounds.ApplySoundVolume(30);
    EXPECT_EQ(rig.Volume(), kSystemVolume);
    sounds.SoundEffect(Effect::Explosion);
    EXPECT_TRUE(rig.played().empty());
  }
  EXPECT_GT(failures, 0);
}

// True when heard is whole with one stretch of length bytes cut out of it.
bool OneStretchMissing(const std::vector<std::uint8_t>& whole,
                       const std::vector<std::uint8_t>& heard, std::size_t length) {
  if (heard.size() + length != whole.size()) return false;
  const auto prefix =
      std::mismatch(heard.begin(), heard.end(), whole.begin()).first - heard.begin();
  const auto suffix =
      std::mismatch(heard.rbegin(), heard.rend(), whole.rbegin()).first - heard.rbegin();
  return prefix + suffix >= static_cast<std::ptrdiff_t>(heard.size());
}

// A block the device refuses during a game is lost and play goes on: the
// failure is reported once, nothing escapes into the game, and the mixer
// stays active with the device open.
TEST(GameSounds, ARefusedBlockIsLostAndPlayGoesOn) {
  using Step = std::function<void(SoundsRig&, bool refuse)>;
  const auto refuse_next_write = [](SoundsRig& rig, bool refuse) {
    rig.rig.device.write_fail_at = refuse ? 1 : 0;
    rig.rig.device.writes = 0;
  };
  const struct {
    const char* name;
    Step run;
  } cases[] = {
      {"refused by the pump",
       [&](SoundsRig& rig, bool refuse) {
         rig.sounds->SoundEffect(Effect::Explosion);
         refuse_next_write(rig, refuse);
         rig.RunFor(2000);
       }},
      {"refused by a request's remix",
       [&](SoundsRig& rig, bool refuse) {
         rig.sounds->SoundEffect(Effect::Explosion);
         rig.RunFor(40);
         refuse_next_write(rig, refuse);
         rig.sounds->SoundEffect(Effect::Missile);
         rig.RunFor(2000);
       }},
      {"the first block refused when the focus comes back",
       [&](SoundsRig& rig, bool refuse) {
         rig.sounds->SoundEffect(Effect::Explosion);
         rig.RunFor(120);
         rig.sounds->SetActivated(false);
         refuse_next_write(rig, refuse);
         rig.sounds->SetActivated(true);
         rig.RunFor(2000);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto listen = [&](bool refuse) {
      SoundsRig rig;
      rig.Start().SetActivated(true);
      EXPECT_NO_THROW(c.run(rig, refuse));
      EXPECT_TRUE(rig.sounds->Activated());
      EXPECT_EQ(rig.rig.mixer.ActiveSession(), rig.rig.mixer.CurrentSession()) << "device open";
      return std::make_pair(UpToTheLastSound(rig.played()), rig.reports);
    };
    const auto [whole, no_reports] = listen(false);
    const auto [heard, reports] = listen(true);
    EXPECT_TRUE(no_reports.empty());
    EXPECT_EQ(reports, std::vector<std::string>{"Failed to write block to device"});
    EXPECT_TRUE(OneStretchMissing(whole, heard, 2048)) << "one block lost, no more";
  }
}

// A device that can no longer be opened: the failure is reported once, and
// the game goes on silent until an activation opens the device again.
TEST(GameSounds, ADeviceThatCannotBeOpenedLeavesTheGameSilentUntilTheNextActivation) {
  SoundsRig rig;
  GameSounds& sounds = rig.Start();
  sounds.SetActivated(true);
  sounds.SetActivated(false);
  rig.rig.device.open_error = MMSYSERR_ALLOCATED;
  EXPECT_NO_THROW(sounds.SetActivated(true));
  sounds.SetActivated(true);  // the same failure is not reported again
  EXPECT_EQ(rig.reports, std::vector<std::string>{"Failed to open waveform output device #4"});
  EXPECT_FALSE(sounds.Activated());
  EXPECT_NO_THROW(sounds.SoundEffect(Effect::Missile));
  rig.RunFor(1000);
  EXPECT_TRUE(rig.played().empty()) << "silent";

  rig.rig.device.open_error = 0;
  sounds.SetActivated(false);
  sounds.SetActivated(true);
  ASSERT_TRUE(sounds.Activated());
  sounds.SoundEffect(Effect::Missile);
  rig.RunFor(300);
  EXPECT_TRUE(Audible(rig.played())) << "sound again";
  EXPECT_EQ(rig.reports.size(), 1u);
}

// A device that stops taking bytes (an SDL device unplugged) raises nothing:
// the game goes on silent, and the next activation opens it afresh.
TEST(GameSounds, AStalledDeviceIsReopenedByTheNextActivation) {
  SoundsRig rig;
  GameSounds& sounds = rig.Start();
  sounds.SetActivated(true);
  sounds.SoundEffect(Effect::Explosion);
  for (int ms = 0; ms < 3000; ++ms) {  // the clock runs, the device does not
    rig.rig.clock.Advance(1);
    sounds.DispatchMixerMessages();
    if (ms % 40 == 0) sounds.SoundEffect(Effect::Missile);
  }
  EXPECT_TRUE(rig.played().empty());
  sounds.SetActivated(false);
  sounds.SetActivated(true);
  sounds.SoundEffect(Effect::Missile);
  rig.RunFor(300);
  EXPECT_TRUE(IsPrefixOf(Samples(sounds.EffectWave(2)), rig.played()));
  EXPECT_TRUE(rig.reports.empty());
}

}  // namespace
}  // namespace kelvarok::testing
