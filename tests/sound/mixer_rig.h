// A mixer on a virtual device and clock, with a memory that counts what is
// held and can be told to fail, for the mixer's tests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ini_reader.h"
#include "platform/virtual_wave_out.h"
#include "sound/mixer_module.h"
#include "tests/sound/wave_image.h"

namespace kelvarok::testing {

class CountingMemory final : public MixerMemory {
 public:
  void* Allocate(std::size_t bytes) override {
    if (fail_at_ > 0 && ++allocations_ == fail_at_) return nullptr;
    ++held_;
    return heap_.Allocate(bytes);
  }
  void Release(void* block) override {
    --held_;
    heap_.Release(block);
  }
  // The n-th allocation from now fails (0: none does).
  void FailAt(int n) {
    fail_at_ = n;
    allocations_ = 0;
  }
  int held() const { return held_; }

 private:
  HeapMixerMemory heap_;
  int held_ = 0;
  int fail_at_ = 0;
  int allocations_ = 0;
};

// The virtual device with failures on request and a record of what it did.
class TestWaveOut final : public VirtualWaveOut, private WaveOutObserver {
 public:
  TestWaveOut(WindowMessages& messages, Clock& clock, VirtualDeviceSetup setup)
      : VirtualWaveOut(messages, clock, std::move(setup)) {
    SetObserver(this);
  }
  MMRESULT waveOutOpen(HWAVEOUT* handle, std::uint32_t id, const WAVEFORMATEX* format, HWND cb,
                       std::uint32_t flags) override {
    if ((flags & WAVE_FORMAT_QUERY) != 0 && query_error != 0) return query_error;
    if ((flags & WAVE_FORMAT_QUERY) == 0) {
      if (open_error != 0) return open_error;
      ++opens;
      opened_format = *format;
    }
    return VirtualWaveOut::waveOutOpen(handle, id, format, cb, flags);
  }
  MMRESULT waveOutPrepareHeader(HWAVEOUT h, WAVEHDR* header) override {
    if (prepare_fail_at > 0 && ++prepares == prepare_fail_at) return MMSYSERR_NOMEM;
    return VirtualWaveOut::waveOutPrepareHeader(h, header);
  }
  MMRESULT waveOutWrite(HWAVEOUT h, WAVEHDR* header) override {
    if (write_fail_at > 0 && ++writes == write_fail_at) return MMSYSERR_ERROR;
    written.push_back(BlockStartOf(*header));
    return VirtualWaveOut::waveOutWrite(h, header);
  }
  MMRESULT waveOutReset(HWAVEOUT h) override {
    ++resets;
    return VirtualWaveOut::waveOutReset(h);
  }

  MMRESULT open_error = 0;
  MMRESULT query_error = 0;
  int prepare_fail_at = 0;
  int prepares = 0;
  int write_fail_at = 0;
  int writes = 0;
  int opens = 0;
  int resets = 0;
  WAVEFORMATEX opened_format;
  std::vector<std::uint32_t> written;  // block starts, in order of writing
  std::vector<std::uint8_t> played;

 private:
  void Played(std::span<const std::uint8_t> bytes) override {
    played.insert(played.end(), bytes.begin(), bytes.end());
  }
  void Done(const WAVEHDR&) override {}
};

struct RigSetup {
  std::string ini;
  VirtualDeviceSetup device;
};

class MixerRig {
 public:
  explicit MixerRig(RigSetup setup = {})
      : ini(setup.ini),
        device(messages, clock, setup.device),
        mixer(MixerServices{device, messages, ini, clock, memory, {}}) {}

  // Lets virtual time pass as a host's message loop would.
  void RunFor(std::uint32_t ms) {
    for (std::uint32_t i = 0; i < ms; ++i) {
      clock.Advance(1);
      device.Poll();
      messages.DispatchPending();
    }
  }

  TMixWave* Load(WaveSpec spec) {
    std::vector<std::uint8_t> image = WaveImage(spec);
    MMIOINFO info = MemoryInfo(image);
    return mixer.WaveMixOpenWave(mixer.CurrentSession(), &info, nullptr, MixWaveFromMemory);
  }

  void Play(TMixWave* wave, std::int32_t channel, std::uint32_t flags = 0, std::uint16_t loops = 0,
            HWND notify = 0) {
    TMixPlayParams params;
    params.hMixSession = mixer.CurrentSession();
    params.iChannel = channel;
    params.lpMixWave = wave;
    params.hWndNotify = notify;
    params.dwFlags = flags;
    params.wLoops = loops;
    mixer.WaveMixPlay(&params);
  }

  WindowMessages messages;
  VirtualClock clock;
  IniTextReader ini;
  CountingMemory memory;
  TestWaveOut device;
  MixerModule mixer;
};

// The message of the EWaveMixError that call raises, or "" when none.
template <class Call>
std::string ErrorOf(Call&& call) {
  try {
    call();
  } catch (const EWaveMixError& error) {
    return error.what();
  }
  return "";
}

}  // namespace kelvarok::testing
