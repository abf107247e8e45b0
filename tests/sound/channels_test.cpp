// Channel modes, play requests and their scheduling onto the output.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/sound/mixer_rig.h"

namespace kelvarok::testing {
namespace {

std::vector<int> OpenChannels(HMIXSESSION session) {
  std::vector<int> open;
  for (int i = 0; i < kChannelCount; ++i) {
    if (session->ChannelHeads[static_cast<std::size_t>(i)] != ClosedChannel()) open.push_back(i);
  }
  return open;
}

class Channels : public ::testing::Test {
 protected:
  Channels() : session(rig.mixer.WaveMixInit()) {}
  ~Channels() override {
    for (TMixWave* wave : waves) rig.mixer.WaveMixFreeWave(session, wave);
    rig.mixer.WaveMixCloseSession(session);
    EXPECT_EQ(rig.memory.held(), 0);
  }
  TMixWave* Wave(std::size_t length) {
    waves.push_back(rig.Load({1, 1, 11025, 8, std::vector<std::uint8_t>(length, 200)}));
    return waves.back();
  }
  std::vector<const TMixPlayEntry*> List(int channel) const {
    std::vector<const TMixPlayEntry*> list;
    for (const TMixPlayEntry* it = session->ChannelHeads[static_cast<std::size_t>(channel)];
         it != nullptr; it = it->Next) {
      list.push_back(it);
    }
    return list;
  }

  MixerRig rig;
  HMIXSESSION session;
  std::vector<TMixWave*> waves;
  std::vector<std::pair<int, TMixWave*>> reports;
};

TEST_F(Channels, OpenModes) {
  rig.mixer.WaveMixOpenChannel(session, 5, MixOpenCount);
  EXPECT_EQ(OpenChannels(session), (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(session->OpenChannels, 5);
  rig.mixer.WaveMixOpenChannel(session, 99, MixOpenAll);
  EXPECT_EQ(session->OpenChannels, 8);
  rig.mixer.WaveMixCloseChannel(session, 3, 0);
  EXPECT_EQ(session->OpenChannels, 7);
  rig.mixer.WaveMixOpenChannel(session, 3, MixOpenSingle);
  EXPECT_EQ(session->OpenChannels, 8);
  rig.mixer.WaveMixCloseChannel(session, 0, MixChannelAll);
  EXPECT_EQ(session->OpenChannels, 0);
  EXPECT_TRUE(OpenChannels(session).empty());
}

TEST_F(Channels, Refusals) {
  rig.mixer.WaveMixOpenChannel(session, 2, MixOpenSingle);
  TMixWave* wave = Wave(10);
  TMixPlayParams params;
  params.hMixSession = session;
  params.iChannel = 2;
  params.lpMixWave = wave;
  struct Case {
    const char* name;
    std::function<void()> call;
    const char* message;
  };
  const Case cases[] = {
      {"mode 3", [&] { rig.mixer.WaveMixOpenChannel(session, 0, 3); }, "Invalid Flags"},
      {"open 8", [&] { rig.mixer.WaveMixOpenChannel(session, 8, MixOpenSingle); },
       "Invalid channel number"},
      {"open -1", [&] { rig.mixer.WaveMixOpenChannel(session, -1, MixOpenSingle); },
       "Invalid channel number"},
      {"count 0", [&] { rig.mixer.WaveMixOpenChannel(session, 0, MixOpenCount); },
       "Invalid number of channels"},
      {"count 9", [&] { rig.mixer.WaveMixOpenChannel(session, 9, MixOpenCount); },
       "Invalid number of channels"},
      {"open twice", [&] { rig.mixer.WaveMixOpenChannel(session, 2, MixOpenSingle); },
       "The channel has already been opened"},
      {"flush 8", [&] { rig.mixer.WaveMixFlushChannel(session, 8, 0); }, "Invalid channel number"},
      {"flush closed", [&] { rig.mixer.WaveMixFlushChannel(session, 1, 0); },
       "The specified channel was not open"},
      {"close closed", [&] { rig.mixer.WaveMixCloseChannel(session, 1, 0); },
       "The specified channel was not open"},
      {"play nil", [&] { rig.mixer.WaveMixPlay(nullptr); },
       "nil parameters pointer passed to WaveMixPlay"},
      {"play bad session",
       [&] {
         TMixPlayParams bad = params;
         bad.hMixSession = nullptr;
         rig.mixer.WaveMixPlay(&bad);
       },
       "Invalid Session handle"},
      {"play no wave",
       [&] {
         TMixPlayParams bad = params;
         bad.lpMixWave = nullptr;
         rig.mixer.WaveMixPlay(&bad);
       },
       "nil wave pointer passed to WaveMixPlay!"},
      {"play inactive", [&] { rig.mixer.WaveMixPlay(&params); },
       "Wave device not allocated, call WaveMixActivate(hMixSession,TRUE)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ErrorOf(c.call), c.message);
  }
  rig.mixer.WaveMixActivate(session, true);
  const Case active_cases[] = {
      {"play channel 9",
       [&] {
         TMixPlayParams bad = params;
         bad.iChannel = 9;
         rig.mixer.WaveMixPlay(&bad);
       },
       "Invalid channel number"},
      {"play closed channel",
       [&] {
         TMixPlayParams bad = params;
         bad.iChannel = 4;
         rig.mixer.WaveMixPlay(&bad);
       },
       "The specified channel was not open"},
  };
  for (const Case& c : active_cases) {
    SCOPED_TRACE(c.name);
    const std::uint32_t stamps = session->UseCounter;
    EXPECT_EQ(ErrorOf(c.call), c.message);
    EXPECT_EQ(session->UseCounter, stamps + (std::string(c.name) == "play closed channel" ? 1 : 0));
  }
  rig.mixer.WaveMixCloseChannel(session, 0, MixChannelAll);
  EXPECT_EQ(ErrorOf([&] { rig.mixer.WaveMixPlay(&params); }),
            "You must open a channel before you can play a wave");
  EXPECT_EQ(rig.mixer.FreePlayEntries(), kPlayEntryPoolSize);
}

TEST_F(Channels, QueuedRequestsFollowEachOtherWithoutAGap) {
  rig.mixer.WaveMixOpenChannel(session, 1, MixOpenSingle);
  rig.mixer.WaveMixActivate(session, true);
  TMixWave* first = Wave(300);
  TMixWave* second = Wave(500);
  rig.Play(first, 1, MixPlayWait);
  rig.Play(second, 1, 0, 2);
  auto list = List(1);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0]->StartPos, 0u);
  EXPECT_EQ(list[0]->EndPos, 299u);
  EXPECT_EQ(list[1]->StartPos, 299u);
  EXPECT_EQ(list[1]->EndPos, 299u + 3 * 500 - 1);
  // Once written, a later request starts where mixing stands.
  const std::uint32_t mixed_to = session->MixPosition;
  rig.Play(first, 1);
  list = List(1);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[2]->StartPos, mixed_to);
  EXPECT_EQ(rig.device.resets, 0);
}

TEST_F(Channels, EndlessLoopsNeverEnd) {
  rig.mixer.WaveMixOpenChannel(session, 0, MixOpenSingle);
  rig.mixer.WaveMixActivate(session, true);
  rig.Play(Wave(100), 0, 0, kLoopForever);
  EXPECT_EQ(List(0)[0]->EndPos, kNeverPos);
}

TEST_F(Channels, LeastRecentlyUsedChannel) {
  rig.mixer.WaveMixOpenChannel(session, 2, MixOpenSingle);
  rig.mixer.WaveMixOpenChannel(session, 5, MixOpenSingle);
  rig.mixer.WaveMixActivate(session, true);
  TMixWave* wave = Wave(5000);
  TMixPlayParams params;
  params.hMixSession = session;
  params.lpMixWave = wave;
  params.dwFlags = MixPlayUseLru;

  params.iChannel = 7;
  rig.mixer.WaveMixPlay(&params);
  EXPECT_EQ(params.iChannel, 2) << "an idle candidate is taken at once";
  rig.Play(wave, 5);
  session->LastUsed[2] = 7;
  session->LastUsed[5] = 3;
  rig.mixer.WaveMixPlay(&params);
  EXPECT_EQ(params.iChannel, 5) << "both busy: the older stamp";
  EXPECT_EQ(session->LastUsed[5], session->UseCounter);
}

TEST_F(Channels, WaitingRequestsAreScheduledInArrivalOrderByTheNextPlay) {
  rig.mixer.WaveMixOpenChannel(session, 4, MixOpenCount);
  rig.mixer.WaveMixActivate(session, true);
  TMixWave* a = Wave(100);
  TMixWave* b = Wave(200);
  rig.Play(a, 0, MixPlayWait);
  rig.Play(b, 1, MixPlayWait);
  rig.Play(a, 0, MixPlayWait);
  EXPECT_TRUE(List(0).empty());
  EXPECT_EQ(rig.mixer.FreePlayEntries(), kPlayEntryPoolSize - 3);
  EXPECT_TRUE(rig.mixer.DeviceQueue().empty());
  rig.Play(b, 3);
  ASSERT_EQ(List(0).size(), 2u);
  EXPECT_EQ(List(0)[1]->StartPos, 99u) << "the second request for channel 0 follows the first";
  ASSERT_EQ(List(1).size(), 1u);
  ASSERT_EQ(List(3).size(), 1u);
  EXPECT_EQ(session->PendingPlays, nullptr);
  EXPECT_EQ(rig.device.written.size(), 1u);
}

TEST_F(Channels, FreeingAWaveDropsItsEntriesEverywhere) {
  rig.mixer.WaveMixOpenChannel(session, 3, MixOpenCount);
  rig.mixer.WaveMixActivate(session, true);
  TMixWave* kept = Wave(4000);
  TMixWave* dropped = rig.Load({1, 1, 11025, 8, std::vector<std::uint8_t>(4000, 50)});
  rig.Play(dropped, 0);
  rig.Play(kept, 0);
  rig.Play(dropped, 0);
  rig.Play(dropped, 1);
  rig.Play(dropped, 2, MixPlayWait);
  rig.mixer.WaveMixFreeWave(session, dropped);
  ASSERT_EQ(List(0).size(), 1u);
  EXPECT_EQ(List(0)[0]->Wave, kept);
  EXPECT_TRUE(List(1).empty());
  EXPECT_EQ(session->PendingPlays, nullptr);
  EXPECT_EQ(rig.mixer.FreePlayEntries(), kPlayEntryPoolSize - 1);
}

TEST_F(Channels, PoolRunsOutAtTheHundredAndFirstRequest) {
  rig.mixer.WaveMixOpenChannel(session, 8, MixOpenCount);
  rig.mixer.WaveMixActivate(session, true);
  TMixWave* wave = Wave(3000);
  for (int i = 0; i < kPlayEntryPoolSize; ++i) rig.Play(wave, i % 8);
  EXPECT_EQ(rig.mixer.FreePlayEntries(), 0);
  EXPECT_EQ(ErrorOf([&] { rig.Play(wave, 0); }), "Not enough memory");
  rig.mixer.WaveMixFlushChannel(session, 0, MixChannelAll);
  EXPECT_EQ(rig.mixer.FreePlayEntries(), kPlayEntryPoolSize);
}

// A window that collects the end-of-wave reports posted to it.
HWND ReportWindow(WindowMessages& messages, std::vector<std::pair<int, TMixWave*>>& reports) {
  WNDCLASSA window_class;
  window_class.lpszClassName = "Notify";
  window_class.lpfnWndProc = [&reports](HWND, std::uint32_t message, WPARAM w, LPARAM l) {
    if (message == MM_WOM_DONE)
      reports.emplace_back(static_cast<int>(w), reinterpret_cast<TMixWave*>(l));
    return LRESULT{0};
  };
  messages.RegisterClassA(window_class);
  return messages.CreateWindowA("Notify", "", 0);
}

TEST_F(Channels, FinishedWavesAreRetiredAndReported) {
  const HWND notify = ReportWindow(rig.messages, reports);
  rig.mixer.WaveMixOpenChannel(session, 6, MixOpenSingle);
  rig.mixer.WaveMixActivate(session, true);
  TMixWave* wave = Wave(1000);
  rig.Play(wave, 6, 0, 0, notify);
  rig.RunFor(185);  // the single block of 2048 bytes is still playing
  EXPECT_TRUE(reports.empty());
  rig.RunFor(5);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0], std::make_pair(6, wave));
  EXPECT_TRUE(List(6).empty());
  EXPECT_EQ(rig.mixer.FreePlayEntries(), kPlayEntryPoolSize);
}

// However the requests remixed the output and the focus came and went, once
// every sound has ended each wave that played to its end has been reported
// once (cleared and flushed ones never), every play entry is back in the
// pool, and the next request starts the output from 0 again.
TEST(ChannelsOverTime, AfterEverySoundHasEndedAllEntriesAreFreeAndEachEndReportedOnce) {
  enum Act { Play, Flush, FocusLost, FocusGained };
  enum Wave { Explosion, Missile, Thrust };
  struct Step {
    std::uint32_t at;
    Act act;
    int channel = 0;
    Wave wave = Explosion;
    std::uint32_t flags = 0;
  };
  std::vector<Step> thrust_over_explosion = {{0, Play, 0, Explosion}};
  for (std::uint32_t at = 0; at <= 400; at += 40) {
    thrust_over_explosion.push_back({at, Play, 3, Thrust, MixPlayClearQueue});
  }
  thrust_over_explosion.push_back({420, FocusLost});
  thrust_over_explosion.push_back({1500, FocusGained});
  const struct {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::pair<int, Wave>> reported;
  } cases[] = {
      {"missiles fired during an explosion",
       {{0, Play, 0, Explosion, MixPlayClearQueue},
        {40, Play, 2, Missile, MixPlayClearQueue},
        {80, Play, 2, Missile, MixPlayClearQueue},
        {120, Play, 2, Missile, MixPlayClearQueue}},
       {{0, Explosion}, {2, Missile}}},
      {"thrust restarted every frame over an explosion, focus lost and regained",
       thrust_over_explosion,
       {{0, Explosion}, {3, Thrust}}},
      {"a flushed missile and a high-priority one",
       {{0, Play, 0, Explosion},
        {0, Play, 1, Missile},
        {50, Flush, 1},
        {60, Play, 2, Missile, MixPlayHighPriority}},
       {{0, Explosion}, {2, Missile}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MixerRig rig;
    std::vector<std::pair<int, TMixWave*>> reports;
    const HWND notify = ReportWindow(rig.messages, reports);
    HMIXSESSION session = rig.mixer.WaveMixInit();
    rig.mixer.WaveMixOpenChannel(session, 5, MixOpenCount);
    rig.mixer.WaveMixActivate(session, true);
    std::vector<TMixWave*> waves;
    for (std::size_t length : {11610, 2230, 5878}) {
      waves.push_back(rig.Load({1, 1, 11025, 8, std::vector<std::uint8_t>(length, 200)}));
    }
    std::uint32_t now = 0;
    for (const Step& step : c.steps) {
      rig.RunFor(step.at - now);
      now = step.at;
      if (step.act == Play) rig.Play(waves[step.wave], step.channel, step.flags, 0, notify);
      if (step.act == Flush) rig.mixer.WaveMixFlushChannel(session, step.channel, 0);
      if (step.act == FocusLost || step.act == FocusGained) {
        rig.mixer.WaveMixActivate(session, step.act == FocusGained);
      }
    }
    rig.RunFor(5000);

    std::vector<std::pair<int, TMixWave*>> expected;
    for (const auto& [channel, wave] : c.reported) expected.emplace_back(channel, waves[wave]);
    std::sort(reports.begin(), reports.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(reports, expected);
    EXPECT_EQ(rig.mixer.FreePlayEntries(), kPlayEntryPoolSize);
    rig.Play(waves[Missile], 4);
    EXPECT_EQ(session->ChannelHeads[4]->StartPos, 0u) << "the idle reset";
    for (TMixWave* wave : waves) rig.mixer.WaveMixFreeWave(session, wave);
    rig.mixer.WaveMixCloseSession(session);
    EXPECT_EQ(rig.memory.held(), 0);
  }
}

}  // namespace
}  // namespace kelvarok::testing
