// Session initialisation from "WAVEMIX.INI", refusals, activation and close.
#include <gtest/gtest.h>

#include "sound/session_settings.h"
#include "tests/sound/mixer_rig.h"

namespace kelvarok::testing {
namespace {

struct ConfigCase {
  const char* name;
  std::string ini;
  std::optional<TMixConfig> config;
  std::uint32_t rate;
  std::uint16_t channels;
  std::int32_t blocks;
  std::uint32_t block_length;
  std::int32_t device_id;
  bool shifting;
  std::uint8_t good_wave_pos;
};

TMixConfig Config(std::uint16_t size, std::uint32_t flags, std::uint16_t channels,
                  std::uint16_t rate) {
  TMixConfig config;
  config.wSize = size;
  config.dwFlags = flags;
  config.wChannels = channels;
  config.wSamplingRate = rate;
  return config;
}

TEST(MixerSession, SettingsComeFromTheIniSectionsAndTheConfigRecord) {
  const ConfigCase cases[] = {
      {"defaults", "", std::nullopt, 11025, 1, 3, 2048, -1, false, 0},
      {"blocks below two", "[default]\nWaveBlocks=1\n", std::nullopt, 11025, 1, 2, 2048, -1, false,
       0},
      {"blocks above six in device section", "[Virtual Wave Out]\nWaveBlocks=9\n", std::nullopt,
       11025, 1, 6, 2048, -1, false, 0},
      {"device section overrides default",
       "[default]\nWaveBlocks=4\n[virtual wave out]\nWaveBlocks=5", std::nullopt, 11025, 1, 5, 2048,
       -1, false, 0},
      {"rate code 16 keeps 11025", "[default]\nSamplesPerSec=16\n", std::nullopt, 11025, 1, 3, 2048,
       -1, false, 0},
      {"config 44 wins over ini 22", "[default]\nSamplesPerSec=22\n",
       Config(10, MixConfigSamplingRate, 0, 44), 44100, 1, 3, 4096, -1, false, 0},
      {"ini 22 gives 4096 blocks", "[default]\nSamplesPerSec=22\n", std::nullopt, 22050, 1, 3, 4096,
       -1, false, 0},
      {"config without rate flag ignored", "", Config(10, 0, 2, 44), 11025, 1, 3, 2048, -1, false,
       0},
      {"config of wrong size is none", "", Config(12, 3, 2, 44), 11025, 1, 3, 2048, -1, false, 0},
      {"stereo asked", "", Config(10, MixConfigChannels, 2, 0), 11025, 2, 3, 2048, -1, false, 0},
      {"odd stereo block length keeps whole frames", "[Virtual Wave Out]\nWaveBlockLen=1001\n",
       Config(10, MixConfigChannels, 2, 0), 11025, 2, 3, 1000, -1, false, 0},
      {"device section block length 100", "[Virtual Wave Out]\nWaveBlockLen=100\n", std::nullopt,
       11025, 1, 3, 512, -1, false, 0},
      {"device section block length 10000", "[Virtual Wave Out]\nWaveBlockLen=10000\n",
       std::nullopt, 11025, 1, 3, 4096, -1, false, 0},
      {"default block length rounded to four", "[default]\nWaveBlockLen=1001\n", std::nullopt,
       11025, 1, 3, 1000, -1, false, 0},
      {"default block length cut to 16 bits", "[default]\nWaveBlockLen=66536\n", std::nullopt,
       11025, 1, 3, 1000, -1, false, 0},
      {"device beyond the count is the mapper", "[general]\nWaveOutDevice=5\n", std::nullopt, 11025,
       1, 3, 2048, -1, false, 0},
      {"device zero", "[general]\nWaveOutDevice=0\n", std::nullopt, 11025, 1, 3, 2048, 0, false, 0},
      {"remix 2 shifts", "[default]\nRemix=2\n", std::nullopt, 11025, 1, 3, 2048, -1, true, 0},
      {"device remix 3 resets", "[default]\nRemix=2\n[Virtual Wave Out]\nRemix=3\n", std::nullopt,
       11025, 1, 3, 2048, -1, false, 0},
      {"good wave pos", "[Virtual Wave Out]\nGoodWavePos=1\n", std::nullopt, 11025, 1, 3, 2048, -1,
       false, 1},
  };
  for (const ConfigCase& c : cases) {
    SCOPED_TRACE(c.name);
    MixerRig rig({c.ini, {}});
    HMIXSESSION session = rig.mixer.WaveMixConfigureInit(c.config ? &*c.config : nullptr);
    EXPECT_EQ(session->Format.nSamplesPerSec, c.rate);
    EXPECT_EQ(session->Format.nChannels, c.channels);
    EXPECT_EQ(session->Format.nBlockAlign, c.channels);
    EXPECT_EQ(session->Format.nAvgBytesPerSec, c.rate * c.channels);
    EXPECT_EQ(session->BlockCount, c.blocks);
    EXPECT_EQ(session->BlockLength, c.block_length);
    EXPECT_EQ(session->DeviceId, c.device_id);
    EXPECT_STREQ(session->DeviceName, "Virtual Wave Out");
    EXPECT_EQ(session->RemixRoutine == &MixerModule::ShiftingRemix, c.shifting);
    EXPECT_EQ(session->GoodWavePos, c.good_wave_pos);
    for (const PlayList& channel : session->ChannelHeads) EXPECT_EQ(channel, ClosedChannel());
    rig.mixer.WaveMixCloseSession(session);
  }
}

TEST(MixerSession, BlockLengthRule) {
  const struct {
    std::uint32_t device, fallback, rate;
    std::uint16_t align;
    std::uint32_t length;
  } cases[] = {
      {0, 0, 11025, 1, 2048},          {0, 0, 22050, 1, 4096},  {0, 0, 44100, 2, 4096},
      {0xFFFFFFFF, 0, 11025, 1, 4096}, {0, 600, 11025, 1, 600}, {1001, 0, 11025, 1, 1001},
      {1001, 0, 11025, 2, 1000},       {511, 0, 22050, 2, 512},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BlockLengthOf(c.device, c.fallback, c.rate, c.align), c.length)
        << c.device << " " << c.align;
  }
}

TEST(MixerSession, MonoDeviceKeepsMonoOutput) {
  VirtualDeviceSetup mono;
  mono.channels = 1;
  MixerRig rig({"", mono});
  const TMixConfig config = Config(10, MixConfigChannels, 2, 0);
  EXPECT_EQ(rig.mixer.WaveMixConfigureInit(&config)->Format.nChannels, 1);
}

TEST(MixerSession, RefusalsLeaveNoSessionBehind) {
  struct Case {
    const char* name;
    const char* ini;
    std::uint32_t device_count;
    const char* device_name;
    std::uint32_t support;
    const char* message;
  };
  const Case cases[] = {
      {"no devices", "", 0, "Virtual Wave Out", 0, "No wave output devices available"},
      {"synchronous", "", 1, "Slow Card", WAVECAPS_SYNC,
       "Slow Card is a syncronous (blocking) wave output device.  This will not permit audio to "
       "play while other applications are running"},
      {"not compatible", "[not compatible]\nVirtual Wave Out=1\n", 1, "Virtual Wave Out", 0,
       "Virtual Wave Out is not compatible with the realtime wavemixer"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    VirtualDeviceSetup device;
    device.device_count = c.device_count;
    device.name = c.device_name;
    device.support = c.support;
    MixerRig rig({c.ini, device});
    EXPECT_EQ(ErrorOf([&] { rig.mixer.WaveMixInit(); }), c.message);
    EXPECT_EQ(rig.mixer.CurrentSession(), nullptr);
    EXPECT_EQ(rig.memory.held(), 0);
  }
}

TEST(MixerSession, SessionMemoryExhausted) {
  MixerRig rig;
  rig.memory.FailAt(1);
  EXPECT_EQ(ErrorOf([&] { rig.mixer.WaveMixInit(); }),
            "Unable to allocate memory for waveform data.  Try making more memory available by "
            "closing other applications.");
  EXPECT_EQ(rig.mixer.CurrentSession(), nullptr);
}

// A window system that refuses classes or windows on request.
class RefusingMessages final : public WindowMessages {
 public:
  bool RegisterClassA(const WNDCLASSA& window_class) override {
    if (!refuse_class) return WindowMessages::RegisterClassA(window_class);
    SetLastError(8);
    return false;
  }
  HWND CreateWindowA(const std::string& name, const std::string& title,
                     std::uint32_t style) override {
    return refuse_window ? 0 : WindowMessages::CreateWindowA(name, title, style);
  }
  bool refuse_class = false;
  bool refuse_window = false;
};

TEST(MixerSession, WindowSystemRefusals) {
  RefusingMessages messages;
  VirtualClock clock;
  VirtualWaveOut device(messages, clock);
  IniTextReader ini;
  CountingMemory memory;
  MixerModule mixer({device, messages, ini, clock, memory, {}});
  messages.refuse_class = true;
  EXPECT_EQ(ErrorOf([&] { mixer.WaveMixInit(); }), "Error registering class #8");
  EXPECT_EQ(mixer.CurrentSession(), nullptr);
  messages.refuse_class = false;

  HMIXSESSION session = mixer.WaveMixInit();
  messages.refuse_window = true;
  EXPECT_EQ(ErrorOf([&] { mixer.WaveMixActivate(session, true); }),
            "Failed to create callback window");
  EXPECT_EQ(mixer.ActiveSession(), nullptr);
  messages.refuse_window = false;
  mixer.WaveMixActivate(session, true);
  EXPECT_TRUE(session->DeviceActive);
  mixer.WaveMixCloseSession(session);
  EXPECT_EQ(memory.held(), 0);
}

TEST(MixerSession, OneSessionAtATimeAndStaleHandlesRefused) {
  MixerRig rig;
  HMIXSESSION first = rig.mixer.WaveMixInit();
  EXPECT_EQ(ErrorOf([&] { rig.mixer.WaveMixInit(); }), "Session already initialized");
  EXPECT_EQ(rig.mixer.CurrentSession(), first);
  rig.mixer.WaveMixCloseSession(first);
  EXPECT_EQ(rig.memory.held(), 0);
  EXPECT_EQ(ErrorOf([&] { rig.mixer.WaveMixActivate(first, true); }), "Invalid Session handle");
  EXPECT_EQ(ErrorOf([&] { rig.mixer.WaveMixActivate(nullptr, true); }), "Invalid Session handle");
  HMIXSESSION second = rig.mixer.WaveMixInit();
  EXPECT_NE(second, nullptr);
}

TEST(MixerSession, ActivationOpensTheDeviceOnceAndDeactivationReleasesIt) {
  MixerRig rig;
  int stops = 0;
  MixerModule mixer({rig.device, rig.messages, rig.ini, rig.clock, rig.memory, [&] { ++stops; }});
  HMIXSESSION session = mixer.WaveMixInit();
  const int held_inactive = rig.memory.held();
  mixer.WaveMixActivate(session, true);
  mixer.WaveMixActivate(session, true);
  EXPECT_EQ(rig.device.opens, 1);
  EXPECT_EQ(stops, 1);
  EXPECT_EQ(mixer.ActiveSession(), session);
  EXPECT_TRUE(session->DeviceActive);
  EXPECT_NE(session->CallbackWindow, 0u);
  EXPECT_TRUE(rig.messages.IsWindow(session->CallbackWindow));
  EXPECT_EQ(rig.memory.held(), held_inactive + kBlockTableSize);

  const HWND window = session->CallbackWindow;
  mixer.WaveMixActivate(session, false);
  EXPECT_EQ(mixer.ActiveSession(), nullptr);
  EXPECT_FALSE(session->DeviceActive);
  EXPECT_EQ(session->WaveOut, 0u);
  EXPECT_FALSE(rig.messages.IsWindow(window));
  EXPECT_EQ(rig.memory.held(), held_inactive);
  mixer.WaveMixActivate(session, false);  // inactive: only the flags
  mixer.WaveMixCloseSession(session);
  EXPECT_EQ(rig.memory.held(), 0);
}

TEST(MixerSession, FailedActivationReleasesEverythingAndTriesAgainNextTime) {
  struct Case {
    const char* name;
    std::function<void(MixerRig&)> arrange;
    std::string message;
  };
  const Case cases[] = {
      {"open refused", [](MixerRig& rig) { rig.device.open_error = MMSYSERR_ALLOCATED; },
       "Failed to open waveform output device #4"},
      {"third block not allocated", [](MixerRig& rig) { rig.memory.FailAt(3); },
       "Unable to allocate memory for waveform data.  Try making more memory available by "
       "closing other applications."},
      {"fourth header not prepared", [](MixerRig& rig) { rig.device.prepare_fail_at = 4; },
       "Unable to prepare wave header #7"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MixerRig rig;
    HMIXSESSION session = rig.mixer.WaveMixInit();
    const int held = rig.memory.held();
    c.arrange(rig);
    EXPECT_EQ(ErrorOf([&] { rig.mixer.WaveMixActivate(session, true); }), c.message);
    EXPECT_EQ(rig.mixer.ActiveSession(), nullptr);
    EXPECT_FALSE(session->DeviceActive);
    EXPECT_EQ(session->WaveOut, 0u);
    EXPECT_EQ(session->CallbackWindow, 0u);
    EXPECT_EQ(rig.memory.held(), held);
    rig.device.open_error = 0;
    rig.memory.FailAt(0);
    rig.device.prepare_fail_at = 0;
    rig.mixer.WaveMixActivate(session, true);
    EXPECT_TRUE(session->DeviceActive);
    rig.mixer.WaveMixCloseSession(session);
    EXPECT_EQ(rig.memory.held(), 0);
  }
}

TEST(MixerSession, ModuleEndsASessionLeftOpen) {
  MixerRig rig;
  {
    MixerModule mixer({rig.device, rig.messages, rig.ini, rig.clock, rig.memory, {}});
    mixer.WaveMixActivate(mixer.WaveMixInit(), true);
  }
  EXPECT_EQ(rig.memory.held(), 0);
}

}  // namespace
}  // namespace kelvarok::testing
