// The SDL2 wave device on SDL's dummy driver: devices, formats, volume, reset
// and blocks played by SDL's audio thread.
#include <gtest/gtest.h>

#include <unistd.h>

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "sdl/sdl_wave_out.h"
#include "tests/platform/wave_device_rig.h"

namespace kelvarok {
namespace {

class SdlDevice : public ::testing::Test, protected WaveOutObserver {
 protected:
  SdlDevice() {
    messages.SetWakeHook([this] {
      std::lock_guard lock(mutex_);
      ++posted_;
      posted_changed_.notify_all();
    });
    device = std::make_unique<SdlWaveOut>(messages);
    device->SetObserver(this);
  }
  ~SdlDevice() override {
    if (handle != 0) {
      device->waveOutReset(handle);
      device->waveOutClose(handle);
    }
  }
  static void SetUpTestSuite() { setenv("SDL_AUDIODRIVER", "dummy", 1); }

  void Open() {
    const WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 11025, 11025, 1, 8};
    ASSERT_EQ(device->waveOutOpen(&handle, WAVE_MAPPER, &format, callback, CALLBACK_WINDOW), 0u);
  }
  WAVEHDR* Block(std::size_t size, std::uint8_t value) {
    return blocks_.Make(*device, handle, size, value);
  }
  // Waits (without a deadline of its own beyond ten seconds) until SDL's
  // thread has posted count messages.
  bool AwaitPosted(int count) {
    std::unique_lock lock(mutex_);
    return posted_changed_.wait_for(lock, std::chrono::seconds(10),
                                    [&] { return posted_ >= count; });
  }
  void Played(std::span<const std::uint8_t> bytes) override {
    std::lock_guard lock(mutex_);
    played.insert(played.end(), bytes.begin(), bytes.end());
  }
  void Done(const WAVEHDR&) override {}

  WindowMessages messages;
  testing::DoneWindow window{messages};
  HWND callback = window.handle;
  std::vector<WAVEHDR*>& done = window.done;
  std::unique_ptr<SdlWaveOut> device;
  HWAVEOUT handle = 0;
  std::vector<std::uint8_t> played;

 private:
  std::mutex mutex_;
  std::condition_variable posted_changed_;
  int posted_ = 0;
  testing::TestBlocks blocks_;
};

TEST_F(SdlDevice, DevicesAndFormats) {
  EXPECT_GE(device->waveOutGetNumDevs(), 1u);
  WAVEOUTCAPS caps;
  ASSERT_EQ(device->waveOutGetDevCapsA(WAVE_MAPPER, &caps), 0u);
  EXPECT_STREQ(caps.szPname, kSdlMapperName);
  EXPECT_EQ(caps.wChannels, 2);
  EXPECT_EQ(caps.dwSupport & WAVECAPS_SYNC, 0u);
  ASSERT_EQ(device->waveOutGetDevCapsA(0, &caps), 0u);
  EXPECT_GT(std::strlen(caps.szPname), 0u);
  EXPECT_EQ(device->waveOutGetDevCapsA(device->waveOutGetNumDevs(), &caps), MMSYSERR_BADDEVICEID);
  const WAVEFORMATEX stereo{WAVE_FORMAT_PCM, 2, 44100, 88200, 2, 8};
  const WAVEFORMATEX adpcm{2, 1, 11025, 5512, 1, 4};
  EXPECT_EQ(device->waveOutOpen(nullptr, WAVE_MAPPER, &stereo, 0, WAVE_FORMAT_QUERY), 0u);
  EXPECT_EQ(device->waveOutOpen(nullptr, WAVE_MAPPER, &adpcm, 0, WAVE_FORMAT_QUERY),
            WAVERR_BADFORMAT);
}

TEST_F(SdlDevice, VolumeIsTheProgramsOwn) {
  std::uint32_t volume = 0;
  ASSERT_EQ(device->waveOutGetVolume(WAVE_MAPPER, &volume), 0u);
  EXPECT_EQ(volume, 0xFFFFFFFFu);
  device->waveOutSetVolume(WAVE_MAPPER, 0x4000'4000);
  device->waveOutGetVolume(WAVE_MAPPER, &volume);
  EXPECT_EQ(volume, 0x40004000u);
}

TEST_F(SdlDevice, ResetReturnsEveryBlock) {
  Open();
  device->waveOutPause(handle);
  WAVEHDR* first = Block(4096, 1);
  WAVEHDR* second = Block(4096, 2);
  device->waveOutWrite(handle, first);
  device->waveOutWrite(handle, second);
  EXPECT_EQ(device->waveOutClose(handle), WAVERR_STILLPLAYING);
  device->waveOutReset(handle);
  messages.DispatchPending();
  EXPECT_EQ(done, (std::vector<WAVEHDR*>{first, second}));
  EXPECT_NE(first->dwFlags.load() & WHDR_DONE, 0u);
  MMTIME time;
  device->waveOutGetPosition(handle, &time);
  EXPECT_EQ(time.cb, 0u);
  EXPECT_EQ(device->waveOutClose(handle), 0u);
  handle = 0;
}

TEST_F(SdlDevice, AudioThreadPlaysBlocksAndPostsTheirMessages) {
  Open();
  device->waveOutSetVolume(WAVE_MAPPER, 0xFFFF'8000);  // mono uses the left half
  WAVEHDR* block = Block(700, 228);
  device->waveOutWrite(handle, block);
  ASSERT_TRUE(AwaitPosted(1));
  messages.DispatchPending();
  EXPECT_EQ(done, std::vector<WAVEHDR*>{block});
  EXPECT_EQ(block->dwFlags.load() & (WHDR_DONE | WHDR_INQUEUE), WHDR_DONE);
  MMTIME time;
  device->waveOutGetPosition(handle, &time);
  EXPECT_EQ(time.cb, 700u);
  EXPECT_EQ(played, std::vector<std::uint8_t>(700, 128 + 50));
  EXPECT_EQ(device->Underruns(), 1u) << "the queue ran dry before the sound came to rest";
}

// Where ALSA finds no card, SDL's probe of it fails; the program's standard
// error stays its own. ALSA_CARD names a card that no machine has.
TEST(SdlDeviceWithoutSound, AnAlsaProbePrintsNothing) {
  std::FILE* captured = std::tmpfile();
  ASSERT_NE(captured, nullptr);
  std::fflush(stderr);
  const int saved = ::dup(STDERR_FILENO);
  ::dup2(::fileno(captured), STDERR_FILENO);
  ::setenv("SDL_AUDIODRIVER", "alsa", 1);
  ::setenv("ALSA_CARD", "KelvarokNoSuchCard", 1);
  {
    WindowMessages messages;
    SdlWaveOut device(messages);
    device.waveOutGetNumDevs();
  }
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  ::unsetenv("ALSA_CARD");
  std::fflush(stderr);
  ::dup2(saved, STDERR_FILENO);
  ::close(saved);
  std::string text(4096, '\0');
  std::rewind(captured);
  text.resize(std::fread(text.data(), 1, text.size(), captured));
  std::fclose(captured);
  EXPECT_EQ(text, "");
}

}  // namespace
}  // namespace kelvarok
