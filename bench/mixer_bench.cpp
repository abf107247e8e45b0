// The mixer's speed: mixing throughput with eight sources, and the cost of
// one resetting remix with six blocks queued.
#include <benchmark/benchmark.h>

#include <deque>

#include "platform/ini_reader.h"
#include "platform/virtual_wave_out.h"
#include "sound/mixer_module.h"
#include "tests/sound/wave_image.h"

namespace kelvarok {
namespace {

using testing::MemoryInfo;
using testing::WaveImage;

// A device whose blocks finish when told, oldest first, so that each finished
// block makes the pump mix exactly one more.
class InstantWaveOut final : public VirtualWaveOut {
 public:
  InstantWaveOut(WindowMessages& messages, Clock& clock)
      : VirtualWaveOut(messages, clock), messages_(messages) {}
  MMRESULT waveOutOpen(HWAVEOUT* handle, std::uint32_t id, const WAVEFORMATEX* format, HWND cb,
                       std::uint32_t flags) override {
    if ((flags & WAVE_FORMAT_QUERY) == 0) callback_ = cb;
    return VirtualWaveOut::waveOutOpen(handle, id, format, cb, flags);
  }
  MMRESULT waveOutWrite(HWAVEOUT handle, WAVEHDR* header) override {
    header->dwFlags.fetch_and(~WHDR_DONE);
    written_.push_back({handle, header});
    return MMSYSERR_NOERROR;
  }
  void FinishOldest() {
    const auto [handle, header] = written_.front();
    written_.pop_front();
    header->dwFlags.fetch_or(WHDR_DONE);
    messages_.PostMessageA(callback_, MM_WOM_DONE, handle, reinterpret_cast<LPARAM>(header));
  }

 private:
  WindowMessages& messages_;
  HWND callback_ = 0;
  std::deque<std::pair<HWAVEOUT, WAVEHDR*>> written_;
};

template <class Device>
struct Bench {
  Bench(std::string ini_text, TMixConfig config) : ini(std::move(ini_text)) {
    session = mixer.WaveMixConfigureInit(&config);
    mixer.WaveMixOpenChannel(session, 0, MixOpenAll);
  }
  ~Bench() {
    for (TMixWave* wave : waves) mixer.WaveMixFreeWave(session, wave);
    mixer.WaveMixCloseSession(session);
  }
  TMixWave* Load(std::uint8_t level, std::size_t bytes) {
    auto image = WaveImage({1, 1, 11025, 8, std::vector<std::uint8_t>(bytes, level)});
    MMIOINFO info = MemoryInfo(image);
    waves.push_back(mixer.WaveMixOpenWave(session, &info, nullptr, MixWaveFromMemory));
    return waves.back();
  }
  void Play(TMixWave* wave, int channel, std::uint32_t flags, std::uint16_t loops) {
    TMixPlayParams params;
    params.hMixSession = session;
    params.iChannel = channel;
    params.lpMixWave = wave;
    params.dwFlags = flags;
    params.wLoops = loops;
    mixer.WaveMixPlay(&params);
  }

  WindowMessages messages;
  VirtualClock clock;
  Device device{messages, clock};
  IniTextReader ini;
  HeapMixerMemory memory;
  MixerModule mixer{{device, messages, ini, clock, memory, {}}};
  HMIXSESSION session;
  std::vector<TMixWave*> waves;
};

// Output bytes mixed per second with eight looping sources of different
// lengths, at 44100 samples per second stereo (4096-byte blocks).
void BM_MixEightSources(benchmark::State& state) {
  TMixConfig config;
  config.dwFlags = MixConfigChannels | MixConfigSamplingRate;
  config.wChannels = 2;
  config.wSamplingRate = 44;
  Bench<InstantWaveOut> bench("", config);
  bench.mixer.WaveMixActivate(bench.session, true);
  for (int channel = 0; channel < kChannelCount; ++channel) {
    const auto length = static_cast<std::size_t>(3000 + 997 * channel);
    bench.Play(bench.Load(static_cast<std::uint8_t>(100 + 8 * channel), length), channel,
               channel + 1 < kChannelCount ? MixPlayWait : 0, kLoopForever);
  }
  const std::uint32_t block = bench.session->BlockLength;
  for (auto _ : state) {
    bench.device.FinishOldest();
    bench.messages.DispatchPending();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * block);
}
BENCHMARK(BM_MixEightSources);

// One play request that clears its channel while six blocks are queued: the
// resetting remix mixes all six again, resets the device and rewrites them.
void BM_ResettingRemixSixBlocks(benchmark::State& state) {
  Bench<VirtualWaveOut> bench("[default]\nWaveBlocks=6\n", TMixConfig{});
  bench.mixer.WaveMixActivate(bench.session, true);
  for (int channel = 1; channel < 5; ++channel) {
    bench.Play(bench.Load(static_cast<std::uint8_t>(90 + 10 * channel), 5000), channel, MixPlayWait,
               kLoopForever);
  }
  TMixWave* shot = bench.Load(200, 2230);
  bench.Play(shot, 0, MixPlayClearQueue, 0);
  if (bench.mixer.DeviceQueue().size() != 6) state.SkipWithError("six blocks are not queued");
  for (auto _ : state) bench.Play(shot, 0, MixPlayClearQueue, 0);
}
BENCHMARK(BM_ResettingRemixSixBlocks);

}  // namespace
}  // namespace kelvarok
