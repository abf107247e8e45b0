// The TWaveMix component: Channels, Activated, play and destruction.
#include <gtest/gtest.h>

#include "sound/twavemix.h"
#include "tests/sound/mixer_rig.h"

namespace kelvarok::testing {
namespace {

std::uint8_t OpenMask(HMIXSESSION session) {
  std::uint8_t mask = 0;
  for (int i = 0; i < kChannelCount; ++i) {
    if (session->ChannelHeads[static_cast<std::size_t>(i)] != ClosedChannel()) {
      mask = static_cast<std::uint8_t>(mask | 1 << i);
    }
  }
  return mask;
}

TEST(TWaveMix, ChannelsOpenAndCloseByMask) {
  MixerRig rig;
  auto mix = TWaveMix::Create(rig.mixer);
  const std::uint8_t steps[] = {31, 255, 1, 1, 0x82, 0};
  for (std::uint8_t mask : steps) {
    mix->SetChannels(mask);
    EXPECT_EQ(mix->Channels(), mask);
    EXPECT_EQ(OpenMask(mix->Session()), mask);
    EXPECT_EQ(mix->Session()->OpenChannels, std::popcount(mask));
  }
}

TEST(TWaveMix, ActivatedFollowsTheDevice) {
  MixerRig rig;
  auto mix = TWaveMix::CreateWithConfig(rig.mixer, TMixConfig{});
  EXPECT_FALSE(mix->Activated());
  mix->SetActivated(true);
  mix->SetActivated(true);
  EXPECT_EQ(rig.device.opens, 1);
  EXPECT_TRUE(mix->Activated());
  mix->SetActivated(false);
  EXPECT_FALSE(mix->Session()->DeviceActive);

  rig.device.open_error = MMSYSERR_ALLOCATED;
  EXPECT_EQ(ErrorOf([&] { mix->SetActivated(true); }), "Failed to open waveform output device #4");
  EXPECT_FALSE(mix->Activated());
  rig.device.open_error = 0;
  mix->SetActivated(true);
  EXPECT_TRUE(mix->Activated());
}

TEST(TWaveMix, PlaysMemoryImagesAndStopsAtOnceWhenDestroyed) {
  MixerRig rig;
  {
    TMixConfig config;
    auto mix = TWaveMix::CreateWithConfig(rig.mixer, config);
    mix->SetChannels(31);
    auto image = WaveImage({1, 1, 22050, 8, std::vector<std::uint8_t>(23220, 200)});
    MMIOINFO info = MemoryInfo(image);
    TMixWave* explosion = mix->OpenWave(&info);
    EXPECT_EQ(explosion->Header.dwBufferLength, 11610u);
    EXPECT_EQ(ErrorOf([&] { mix->Play(0, explosion, nullptr, MixPlayClearQueue, 0); }),
              "Wave device not allocated, call WaveMixActivate(hMixSession,TRUE)");
    mix->SetActivated(true);
    mix->Play(0, explosion, nullptr, MixPlayUseLru, 0);
    EXPECT_EQ(mix->PlayParams().iChannel, 0);
    EXPECT_EQ(mix->PlayParams().wSize, kMixPlayParamsSize);
    rig.RunFor(100);
    mix->FreeWave(explosion);
    EXPECT_EQ(rig.device.resets, 0);
  }
  EXPECT_EQ(rig.device.resets, 1) << "destruction closes the device, resetting it";
  const std::size_t played = rig.device.played.size();
  rig.RunFor(1000);
  EXPECT_EQ(rig.device.played.size(), played);
  EXPECT_EQ(rig.mixer.CurrentSession(), nullptr);
  EXPECT_EQ(rig.memory.held(), 0);
}

TEST(TWaveMix, NotifiesTheControlsWindow) {
  MixerRig rig;
  class Control final : public TWinControl {
   public:
    explicit Control(WindowMessages& messages) : messages_(messages) {}
    HWND Handle() override {
      if (window_ == 0) {
        WNDCLASSA window_class;
        window_class.lpszClassName = "TButton";
        window_class.lpfnWndProc = [this](HWND, std::uint32_t message, WPARAM, LPARAM) {
          if (message == MM_WOM_DONE) ++finished;
          return LRESULT{0};
        };
        messages_.RegisterClassA(window_class);
        window_ = messages_.CreateWindowA("TButton", "", 0);
      }
      return window_;
    }
    int finished = 0;

   private:
    WindowMessages& messages_;
    HWND window_ = 0;
  } control(rig.messages);
  auto mix = TWaveMix::Create(rig.mixer);
  mix->SetChannels(1);
  mix->SetActivated(true);
  auto image = WaveImage({1, 1, 11025, 8, std::vector<std::uint8_t>(300, 90)});
  MMIOINFO info = MemoryInfo(image);
  TMixWave* wave = mix->OpenWave(&info);
  mix->Play(0, wave, &control, 0, 0);
  rig.RunFor(500);
  EXPECT_EQ(control.finished, 1);
  mix->FreeWave(wave);
}

}  // namespace
}  // namespace kelvarok::testing
