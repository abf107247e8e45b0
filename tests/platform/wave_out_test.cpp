// The virtual wave device's timing and queue, and the recorder on top of it.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/virtual_wave_out.h"
#include "platform/wave_recorder.h"
#include "tests/platform/wave_device_rig.h"

namespace kelvarok {
namespace {

class VirtualDevice : public ::testing::Test {
 protected:
  void Open(std::uint16_t channels = 1, std::uint32_t rate = 11025) {
    const WAVEFORMATEX format{WAVE_FORMAT_PCM, channels, rate, rate * channels, channels, 8};
    ASSERT_EQ(device.waveOutOpen(&handle, WAVE_MAPPER, &format, callback, CALLBACK_WINDOW), 0u);
  }
  WAVEHDR* Block(std::size_t size, std::uint8_t value) {
    return blocks.Make(device, handle, size, value);
  }
  void RunFor(std::uint32_t ms) {
    for (std::uint32_t i = 0; i < ms; ++i) {
      clock.Advance(1);
      device.Poll();
      messages.DispatchPending();
    }
  }
  std::uint32_t Position() {
    MMTIME time;
    device.waveOutGetPosition(handle, &time);
    return time.cb;
  }

  WindowMessages messages;
  VirtualClock clock;
  VirtualWaveOut device{messages, clock};
  testing::DoneWindow window{messages};
  HWND callback = window.handle;
  std::vector<WAVEHDR*>& done = window.done;
  HWAVEOUT handle = 0;
  testing::TestBlocks blocks;
};

TEST_F(VirtualDevice, PlaysAtTheFormatsRateAndReportsEachBlockWhenDue) {
  Open();
  WAVEHDR* first = Block(2048, 1);
  WAVEHDR* second = Block(100, 2);
  device.waveOutWrite(handle, first);
  device.waveOutWrite(handle, second);
  EXPECT_EQ(first->dwFlags.load() & (WHDR_INQUEUE | WHDR_DONE), WHDR_INQUEUE);
  struct Step {
    std::uint32_t ms;
    std::uint32_t position;
    std::size_t done;
  };
  const Step steps[] = {{1, 11, 0},   {1, 22, 0},   {183, 2039, 0},
                        {1, 2050, 1}, {9, 2148, 2}, {100, 2148, 2}};
  for (const Step& step : steps) {
    RunFor(step.ms);
    EXPECT_EQ(Position(), step.position) << clock.timeGetTime();
    EXPECT_EQ(done.size(), step.done) << clock.timeGetTime();
  }
  EXPECT_EQ(done[0], first);
  EXPECT_EQ(first->dwFlags.load() & (WHDR_INQUEUE | WHDR_DONE), WHDR_DONE);
  // Starved: a new block starts its own count of milliseconds.
  device.waveOutWrite(handle, Block(50, 3));
  RunFor(1);
  EXPECT_EQ(Position(), 2159u);
}

TEST_F(VirtualDevice, PauseResetAndClose) {
  Open(2, 22050);
  WAVEHDR* block = Block(4096, 7);
  device.waveOutPause(handle);
  device.waveOutWrite(handle, block);
  RunFor(10);
  EXPECT_EQ(Position(), 0u) << "paused before the write: nothing plays";
  device.waveOutRestart(handle);
  RunFor(10);
  EXPECT_EQ(Position(), 441u);
  EXPECT_EQ(device.waveOutClose(handle), WAVERR_STILLPLAYING);
  EXPECT_EQ(device.waveOutUnprepareHeader(handle, block), WAVERR_STILLPLAYING);
  device.waveOutReset(handle);
  EXPECT_EQ(Position(), 0u);
  EXPECT_TRUE((block->dwFlags.load() & WHDR_DONE) != 0);
  messages.DispatchPending();
  EXPECT_EQ(done.size(), 1u) << "a reset returns the block with its message";
  EXPECT_EQ(device.waveOutUnprepareHeader(handle, block), 0u);
  EXPECT_EQ(device.waveOutWrite(handle, block), WAVERR_UNPREPARED);
  EXPECT_EQ(device.waveOutClose(handle), 0u);
  EXPECT_EQ(device.waveOutPause(handle), MMSYSERR_INVALHANDLE);
}

// A device whose consumer asks for bytes whether or not any are queued, as
// SDL's audio callback does.
class PulledWaveOut final : public QueuedWaveOut {
 public:
  using QueuedWaveOut::QueuedWaveOut;
  std::uint32_t waveOutGetNumDevs() override { return 1; }
  MMRESULT waveOutGetDevCapsA(std::uint32_t, WAVEOUTCAPS*) override { return MMSYSERR_NOERROR; }
  void Pull(std::size_t size) {
    std::vector<std::uint8_t> out(size);
    Consume(out);
  }

 protected:
  MMRESULT OpenDevice(std::uint32_t, const WAVEFORMATEX&) override { return MMSYSERR_NOERROR; }
  void CloseDevice() override {}
};

// A queue that runs dry while sounding is a gap the listener hears, counted
// once; one that ends in silence, is paused or is reset is not.
TEST(QueuedWaveOut, CountsUnderrunsOnlyWhereTheSoundBreaksOff) {
  enum class Stop { kRunsDry, kPause, kReset };
  struct Row {
    std::uint8_t value;
    Stop stop;
    std::uint32_t underruns;
  };
  const Row rows[] = {{128, Stop::kRunsDry, 0},
                      {200, Stop::kRunsDry, 1},
                      {200, Stop::kPause, 1},
                      {200, Stop::kReset, 1},
                      {40, Stop::kRunsDry, 2}};
  WindowMessages messages;
  PulledWaveOut device(messages);
  testing::TestBlocks blocks;
  HWAVEOUT handle = 0;
  const WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 11025, 11025, 1, 8};
  ASSERT_EQ(device.waveOutOpen(&handle, WAVE_MAPPER, &format, 0, 0), 0u);
  device.waveOutSetVolume(WAVE_MAPPER, 0);  // judged on the stream, not on what volume leaves
  for (const Row& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.stop));
    device.waveOutWrite(handle, blocks.Make(device, handle, 100, row.value));
    device.Pull(60);
    if (row.stop == Stop::kPause) device.waveOutPause(handle);
    if (row.stop == Stop::kReset) device.waveOutReset(handle);
    device.Pull(60);
    device.Pull(60);
    EXPECT_EQ(device.Underruns(), row.underruns);
    device.waveOutReset(handle);
  }
}

TEST_F(VirtualDevice, CapabilitiesFormatsAndVolume) {
  EXPECT_EQ(device.waveOutGetNumDevs(), 1u);
  WAVEOUTCAPS caps;
  ASSERT_EQ(device.waveOutGetDevCapsA(WAVE_MAPPER, &caps), 0u);
  EXPECT_STREQ(caps.szPname, "Virtual Wave Out");
  EXPECT_EQ(caps.wChannels, 2);
  EXPECT_EQ(device.waveOutGetDevCapsA(1, &caps), MMSYSERR_BADDEVICEID);
  const WAVEFORMATEX good{WAVE_FORMAT_PCM, 2, 44100, 88200, 2, 8};
  const WAVEFORMATEX bad{WAVE_FORMAT_PCM, 3, 44100, 132300, 3, 8};
  EXPECT_EQ(device.waveOutOpen(nullptr, 0, &good, 0, WAVE_FORMAT_QUERY), 0u);
  EXPECT_EQ(device.waveOutOpen(nullptr, 0, &bad, 0, WAVE_FORMAT_QUERY), WAVERR_BADFORMAT);
  EXPECT_EQ(device.waveOutOpen(nullptr, 3, &good, 0, WAVE_FORMAT_QUERY), MMSYSERR_BADDEVICEID);

  std::uint32_t volume = 0;
  device.waveOutGetVolume(WAVE_MAPPER, &volume);
  EXPECT_EQ(volume, 0xFFFFFFFFu);
  device.waveOutSetVolume(WAVE_MAPPER, 0x8000'0000);  // right half, left silent
  device.waveOutGetVolume(WAVE_MAPPER, &volume);
  EXPECT_EQ(volume, 0x80000000u);

  // Saved from memory at the end, or streamed to the file as it plays.
  const WAVEFORMATEX stereo{WAVE_FORMAT_PCM, 2, 11025, 22050, 2, 8};
  for (const bool streamed : {false, true}) {
    SCOPED_TRACE(streamed);
    const std::string path = ::testing::TempDir() + "wave_out_test.wav";
    const auto bytes = [&path] {
      std::ifstream in(path, std::ios::binary);
      return std::vector<char>((std::istreambuf_iterator<char>(in)), {});
    };
    WaveRecorder recorder(device);
    if (streamed) {
      ASSERT_TRUE(recorder.StreamTo(path));
    }
    ASSERT_EQ(recorder.waveOutOpen(&handle, 0, &stereo, callback, CALLBACK_WINDOW), 0u);
    recorder.waveOutWrite(handle, Block(4, 228));
    RunFor(1);
    if (streamed) {
      ASSERT_TRUE(recorder.FinishStream());
    } else {
      ASSERT_TRUE(recorder.Save(path));
    }
    const std::vector<char> file = bytes();
    ASSERT_EQ(file.size(), 44u + 4);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "RIFF");
    EXPECT_EQ(file[4], 4 + 36) << "RIFF size";
    EXPECT_EQ(file[22], 2) << "channels";
    EXPECT_EQ(file[40], 4) << "data size";
    // Left silenced to 128, right at half its distance from 128: 128 + 100 / 2.
    EXPECT_EQ(static_cast<std::uint8_t>(file[44]), 128);
    EXPECT_EQ(static_cast<std::uint8_t>(file[45]), 178);
    EXPECT_EQ(static_cast<std::uint8_t>(file[46]), 128);
    recorder.waveOutReset(handle);
    messages.DispatchPending();
    recorder.waveOutClose(handle);
  }
}

}  // namespace
}  // namespace kelvarok
