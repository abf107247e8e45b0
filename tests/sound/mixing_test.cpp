// What the device hears: block contents, the output clock and both remix
// strategies.
#include <gtest/gtest.h>

#include "sound/output_clock.h"
#include "tests/sound/mixer_rig.h"

namespace kelvarok::testing {
namespace {

std::vector<std::uint8_t> Repeat(std::uint8_t value, std::size_t count) {
  return std::vector<std::uint8_t>(count, value);
}

std::vector<std::uint8_t> Cat(std::initializer_list<std::vector<std::uint8_t>> parts) {
  std::vector<std::uint8_t> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& bytes, std::size_t from,
                                std::size_t count) {
  return {bytes.begin() + static_cast<std::ptrdiff_t>(from),
          bytes.begin() + static_cast<std::ptrdiff_t>(from + count)};
}

class Mixing : public ::testing::Test {
 protected:
  explicit Mixing(std::string ini = "") : rig({std::move(ini), {}}) {
    session = rig.mixer.WaveMixInit();
    rig.mixer.WaveMixOpenChannel(session, 0, MixOpenAll);
    rig.mixer.WaveMixActivate(session, true);
  }
  ~Mixing() override {
    for (TMixWave* wave : waves) rig.mixer.WaveMixFreeWave(session, wave);
    rig.mixer.WaveMixCloseSession(session);
    EXPECT_EQ(rig.memory.held(), 0);
  }
  TMixWave* Wave(std::vector<std::uint8_t> data) {
    waves.push_back(rig.Load({1, 1, 11025, 8, std::move(data)}));
    return waves.back();
  }

  MixerRig rig;
  HMIXSESSION session;
  std::vector<TMixWave*> waves;
};

TEST_F(Mixing, OneWaveOnAnIdleSession) {
  const auto data = Ramp(2230, 7);
  rig.Play(Wave(data), 2);
  rig.RunFor(1000);
  EXPECT_EQ(rig.device.written, (std::vector<std::uint32_t>{0, 2048}));
  EXPECT_EQ(rig.device.played, Cat({Slice(data, 0, 2229), Repeat(128, 4096 - 2229)}));
  EXPECT_TRUE(rig.mixer.DeviceQueue().empty());
}

TEST_F(Mixing, SourcesAddAroundSilenceAndClamp) {
  struct Case {
    std::uint8_t a, b, sum;
  };
  const Case cases[] = {{255, 255, 255}, {0, 0, 0}, {200, 100, 172}, {128, 90, 90}, {20, 30, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.sum));
    TMixWave* a = Wave(Repeat(c.a, 100));
    TMixWave* b = Wave(Repeat(c.b, 100));
    rig.Play(a, 0, MixPlayClearQueue | MixPlayWait);
    rig.Play(b, 1, MixPlayClearQueue);
    const TMixBlock* block = rig.mixer.DeviceQueue().back();
    EXPECT_EQ(block->Data[0], c.sum);
    EXPECT_EQ(block->Data[98], c.sum);
    EXPECT_EQ(block->Data[99], 128);
  }
}

TEST_F(Mixing, RepeatingWaveRestartsItsData) {
  const auto data = Ramp(1000, 3);
  rig.Play(Wave(data), 0, 0, 1);
  rig.RunFor(400);
  EXPECT_EQ(Slice(rig.device.played, 0, 2048), Cat({data, Slice(data, 0, 999), Repeat(128, 49)}));
}

TEST_F(Mixing, GapsBetweenWavesAreSilenceAndFlushRemixesAtOnce) {
  rig.Play(Wave(Repeat(200, 5000)), 0);
  rig.Play(Wave(Repeat(60, 100)), 1);  // starts behind the written blocks, at 6144
  EXPECT_EQ(rig.device.written, (std::vector<std::uint32_t>{0, 2048, 4096}));
  rig.RunFor(50);
  rig.mixer.WaveMixFlushChannel(session, 0, 0);
  EXPECT_EQ(rig.device.resets, 1);
  EXPECT_EQ(rig.device.written, (std::vector<std::uint32_t>{0, 2048, 4096, 551, 2599, 4647}));
  rig.RunFor(2000);
  EXPECT_EQ(Slice(rig.device.played, 0, 6144 + 100),
            Cat({Repeat(200, 551), Repeat(128, 6144 - 551), Repeat(60, 99), Repeat(128, 1)}));
}

TEST_F(Mixing, ClearQueueRemixSkipsTheDiscardedStretch) {
  const auto data = Ramp(5000, 1);
  TMixWave* wave = Wave(data);
  rig.Play(wave, 0, MixPlayClearQueue);
  EXPECT_EQ(rig.device.resets, 0) << "nothing queued yet: no remix";
  rig.RunFor(50);
  rig.Play(wave, 0, MixPlayClearQueue);
  EXPECT_EQ(rig.device.resets, 1);
  rig.RunFor(2000);
  EXPECT_EQ(Slice(rig.device.played, 0, 551 + 4999),
            Cat({Slice(data, 0, 551), Slice(data, 0, 4999)}));
}

TEST_F(Mixing, HighPriorityStartsNowInsideWrittenOutput) {
  TMixWave* loud = Wave(Repeat(200, 6000));
  TMixWave* shot = Wave(Repeat(100, 300));
  rig.Play(loud, 0);
  rig.RunFor(100);
  rig.Play(shot, 1, MixPlayHighPriority);
  rig.RunFor(2000);
  const std::size_t now = 1102;
  EXPECT_EQ(Slice(rig.device.played, 0, now + 300),
            Cat({Repeat(200, now), Repeat(172, 299), Repeat(200, 1)}));
}

TEST_F(Mixing, DeactivationKeepsThePlaceOfAPlayingWave) {
  const auto data = Ramp(5000, 9);
  rig.Play(Wave(data), 0);
  rig.RunFor(100);
  rig.mixer.WaveMixActivate(session, false);
  EXPECT_EQ(session->MixPosition, 1102u);
  rig.RunFor(5000);  // in the background: nothing is played or lost
  rig.mixer.WaveMixActivate(session, true);
  rig.RunFor(2000);
  EXPECT_EQ(Slice(rig.device.played, 0, 4999), Slice(data, 0, 4999));
}

TEST_F(Mixing, RefusedWriteLosesItsBlockAndPlayGoesOn) {
  rig.device.write_fail_at = 1;
  const auto data = Ramp(3000, 5);
  TMixWave* wave = Wave(data);
  EXPECT_EQ(ErrorOf([&] { rig.Play(wave, 0); }), "Failed to write block to device");
  EXPECT_EQ(rig.device.written, (std::vector<std::uint32_t>{2048}));
  EXPECT_NE(session->ChannelHeads[0], nullptr);
  rig.RunFor(1000);
  EXPECT_EQ(rig.device.played, Cat({Slice(data, 2048, 951), Repeat(128, 2048 - 951)}));
}

TEST(OutputClock, PositionFromTheClockRoundsHalfToEven) {
  struct Case {
    std::uint32_t ms, bytes_per_sec;
    std::uint16_t align;
    std::uint32_t position;
  };
  const Case cases[] = {
      {500, 11025, 1, 5512},       {500, 22050, 2, 11024},
      {300, 11025, 1, 3308},       {100, 11025, 1, 1102},
      {1, 11025, 1, 11},           {1000, 44100, 1, 44100},
      {3, 22050, 2, 66},           {1500, 11025, 1, 16538},
      {400000, 11025, 1, 4410000}, {2000000, 44100, 1, 88200000},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClockPosition(c.ms, c.bytes_per_sec, c.align), c.position) << c.ms;
  }
  // Positions beyond 4294967 bytes (6.5 minutes at 11025) still give the right time base.
  EXPECT_EQ(TimeBaseFor(1000000, 5000000, 11025), 1000000u - 453514u);
}

class MixingTrustingTheDevice : public Mixing {
 protected:
  MixingTrustingTheDevice() : Mixing("[default]\nGoodWavePos=1\n") {}
};

TEST_F(Mixing, ClockKeepsRunningWhenTheDeviceStarves) {
  rig.Play(Wave(Repeat(1, 100)), 0);
  rig.RunFor(300);
  EXPECT_EQ(rig.mixer.OutputPosition(), 3308u);
}

TEST_F(MixingTrustingTheDevice, DeviceCounterStopsWhenItStarves) {
  rig.Play(Wave(Repeat(1, 100)), 0);
  rig.RunFor(300);
  EXPECT_EQ(rig.mixer.OutputPosition(), 2048u);
}

class ShiftingRemix : public Mixing {
 protected:
  ShiftingRemix() : Mixing("[default]\nRemix=2\n") {}
};

TEST_F(ShiftingRemix, NewWaveStartsBehindTheWrittenBlocks) {
  const auto data = Ramp(5000, 4);
  rig.Play(Wave(data), 0);
  rig.RunFor(50);
  const auto shot = Ramp(100, 50);
  rig.Play(Wave(shot), 1, MixPlayHighPriority);
  const TMixPlayEntry* entry = session->ChannelHeads[1];
  EXPECT_EQ(entry->StartPos, 6144u);
  EXPECT_EQ(entry->EndPos, 6144u + 99);
  rig.RunFor(2000);
  EXPECT_EQ(rig.device.resets, 0);
  EXPECT_EQ(
      Slice(rig.device.played, 0, 6144 + 100),
      Cat({Slice(data, 0, 4999), Repeat(128, 6144 - 4999), Slice(shot, 0, 99), Repeat(128, 1)}));
}

TEST_F(ShiftingRemix, FlushLetsWrittenOutputPlayOut) {
  const auto data = Ramp(5000, 4);
  rig.Play(Wave(data), 0);
  rig.RunFor(50);
  rig.mixer.WaveMixFlushChannel(session, 0, 0);
  rig.RunFor(2000);
  EXPECT_EQ(rig.device.resets, 0);
  EXPECT_EQ(Slice(rig.device.played, 0, 4999), Slice(data, 0, 4999));
}

}  // namespace
}  // namespace kelvarok::testing
