// Sound latency for 100 missile shots 300 ms apart while this thread delivers
// the mixer's messages as the desktop's event loop does, measured two ways:
//
// BM_MissileLatency: from the SoundEffect call to the moment SDL's audio
// callback copies the effect's first byte out of the device layer. SDL runs
// its disk driver, which paces itself like a real device, so the figure does
// not depend on the machine's sound card; it leaves out everything after the
// program.
//
// BM_MissileLatencyAtTheSink: from the SoundEffect call to the shot reaching
// the sound server's default sink, as a player hears it. SDL plays through
// the PulseAudio protocol (PulseAudio, or PipeWire's Pulse layer) and the
// bench records the default sink's monitor; a shot arrives with the first
// frame of its sound, dated by the time it was read less what the server
// still held for the recording. Needs a running server with an otherwise
// silent default sink (bench/sound_server_latency.sh starts a private one).
#include <benchmark/benchmark.h>
#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "platform/ini_reader.h"
#include "sdl/sdl_wave_out.h"
#include "sound/game_sounds.h"

namespace kelvarok {
namespace {

using Moment = std::chrono::steady_clock::time_point;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr int kShots = 100;
constexpr auto kShotSpacing = std::chrono::milliseconds(300);
constexpr Effect kMissile = Effect::Missile;
constexpr std::size_t kSignatureBytes = 32;

// Says when the shot asked for since Arm was first heard, wherever that is.
class Arrival {
 public:
  virtual ~Arrival() = default;
  virtual void Arm() = 0;
  virtual std::optional<Moment> Arrived() = 0;
};

// Watches what the device plays, on SDL's audio thread, for the opening bytes
// of an effect requested since it was armed.
class EffectArrival final : public Arrival, public WaveOutObserver {
 public:
  explicit EffectArrival(const TMixWave& wave) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(wave.Header.lpData);
    signature_.assign(data,
                      data + std::min<std::size_t>(kSignatureBytes, wave.Header.dwBufferLength));
  }

  void Arm() override {
    std::lock_guard lock(mutex_);
    seen_.clear();
    arrived_.reset();
    armed_ = true;
  }
  std::optional<Moment> Arrived() override {
    std::lock_guard lock(mutex_);
    return arrived_;
  }

 private:
  void Played(std::span<const std::uint8_t> bytes) override {
    const Moment now = std::chrono::steady_clock::now();
    std::lock_guard lock(mutex_);
    if (!armed_) return;
    seen_.insert(seen_.end(), bytes.begin(), bytes.end());
    if (std::search(seen_.begin(), seen_.end(), signature_.begin(), signature_.end()) !=
        seen_.end()) {
      arrived_ = now;
      armed_ = false;
      return;
    }
    // Keep only what a signature split across two callbacks needs.
    if (seen_.size() >= signature_.size())
      seen_.erase(seen_.begin(), seen_.end() - static_cast<std::ptrdiff_t>(signature_.size() - 1));
  }
  void Done(const WAVEHDR&) override {}

  std::vector<std::uint8_t> signature_;
  std::mutex mutex_;
  std::vector<std::uint8_t> seen_;
  bool armed_ = false;
  std::optional<Moment> arrived_;
};

// Records the default sink's monitor on a thread of its own and dates the
// first sound after Arm.
class SinkArrival final : public Arrival {
 public:
  static constexpr int kRate = 48000;
  static constexpr int kChannels = 2;
  static constexpr std::size_t kChunkFrames = kRate / 400;  // 2.5 ms
  static constexpr int kHeard = 256;                        // of 32767

  SinkArrival() {
    const pa_sample_spec spec{PA_SAMPLE_S16LE, kRate, kChannels};
    pa_buffer_attr attributes{};
    attributes.maxlength = static_cast<std::uint32_t>(-1);
    attributes.fragsize = static_cast<std::uint32_t>(kChunkFrames * kChannels * 2);
    int error = 0;
    stream_ =
        pa_simple_new(nullptr, "kelvarok latency bench", PA_STREAM_RECORD, "@DEFAULT_MONITOR@",
                      "sink monitor", &spec, nullptr, &attributes, &error);
    if (stream_ != nullptr) reader_ = std::thread([this] { Read(); });
  }
  ~SinkArrival() override {
    stop_ = true;
    if (reader_.joinable()) reader_.join();
    if (stream_ != nullptr) pa_simple_free(stream_);
  }
  SinkArrival(const SinkArrival&) = delete;
  SinkArrival& operator=(const SinkArrival&) = delete;

  bool Recording() const { return stream_ != nullptr; }
  void Arm() override {
    std::lock_guard lock(mutex_);
    armed_at_ = std::chrono::steady_clock::now();
    arrived_.reset();
  }
  std::optional<Moment> Arrived() override {
    std::lock_guard lock(mutex_);
    return arrived_;
  }

 private:
  void Read() {
    std::vector<std::int16_t> chunk(kChunkFrames * kChannels);
    while (!stop_) {
      int error = 0;
      if (pa_simple_read(stream_, chunk.data(), chunk.size() * 2, &error) < 0) return;
      const Moment read = std::chrono::steady_clock::now();
      const auto held = std::chrono::microseconds(pa_simple_get_latency(stream_, &error));
      for (std::size_t frame = 0; frame < kChunkFrames; ++frame) {
        if (std::abs(chunk[frame * kChannels]) < kHeard &&
            std::abs(chunk[frame * kChannels + 1]) < kHeard)
          continue;
        const auto after = std::chrono::microseconds((kChunkFrames - frame) * 1'000'000 / kRate);
        const Moment heard = read - held - after;
        std::lock_guard lock(mutex_);
        if (armed_at_ && !arrived_ && heard > *armed_at_) arrived_ = heard;
        break;
      }
    }
  }

  pa_simple* stream_ = nullptr;
  std::thread reader_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::optional<Moment> armed_at_;
  std::optional<Moment> arrived_;
};

// The user-interface thread's wait: until the deadline or until the device
// queues a message.
class MessageWait {
 public:
  explicit MessageWait(WindowMessages& messages) {
    messages.SetWakeHook([this] {
      std::lock_guard lock(mutex_);
      woken_ = true;
      wake_.notify_one();
    });
  }
  void Until(Moment deadline) {
    std::unique_lock lock(mutex_);
    wake_.wait_until(lock, deadline, [this] { return woken_; });
    woken_ = false;
  }

 private:
  std::mutex mutex_;
  std::condition_variable wake_;
  bool woken_ = false;
};

double Percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  const auto index = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1));
  return values[index];
}

// The mixer and the game's sounds on SDL's default device, ready to play.
struct SoundRig {
  WindowMessages messages;
  MessageWait wait{messages};
  SteadyClock clock;
  SdlWaveOut device{messages};
  IniTextReader ini;  // no "WAVEMIX.INI": the mixer's defaults
  HeapMixerMemory memory;
  MixerModule mixer{{device, messages, ini, clock, memory, {}}};
  std::string failure;
  GameSounds sounds{{mixer, device, messages, [this](const std::string& m) { failure = m; }},
                    device.waveOutGetNumDevs() > 0};

  bool Start() {
    sounds.LoadEffects();
    sounds.SetActivated(true);
    return sounds.Activated();
  }
};

// Plays the shots and puts the latencies of those that arrived into state's
// counters.
void MeasureShots(benchmark::State& state, SoundRig& rig, Arrival& arrival) {
  std::vector<double> latencies;
  int missed = 0;
  for (auto _ : state) {
    Moment next = std::chrono::steady_clock::now() + kShotSpacing;
    for (int shot = 0; shot < kShots; ++shot) {
      while (std::chrono::steady_clock::now() < next) {
        rig.wait.Until(next);
        rig.sounds.DispatchMixerMessages();
      }
      const Moment requested = std::chrono::steady_clock::now();
      arrival.Arm();
      rig.sounds.SoundEffect(kMissile);
      next = requested + kShotSpacing;
      while (!arrival.Arrived() && std::chrono::steady_clock::now() < next) {
        rig.wait.Until(
            std::min(next, std::chrono::steady_clock::now() + std::chrono::milliseconds(1)));
        rig.sounds.DispatchMixerMessages();
      }
      if (const auto arrived = arrival.Arrived()) {
        latencies.push_back(Milliseconds(*arrived - requested).count());
      } else {
        ++missed;
      }
    }
  }
  rig.sounds.SetActivated(false);
  if (latencies.empty()) {
    state.SkipWithError("no shot was heard");
    return;
  }
  state.counters["median_ms"] = Percentile(latencies, 0.5);
  state.counters["p95_ms"] = Percentile(latencies, 0.95);
  state.counters["max_ms"] = Percentile(latencies, 1.0);
  state.counters["missed"] = missed;
  state.counters["underruns"] = rig.device.Underruns();
  if (!rig.failure.empty()) state.SetLabel(rig.failure);
}

void BM_MissileLatency(benchmark::State& state) {
  const std::filesystem::path disk_file =
      std::filesystem::temp_directory_path() / "kelvarok-latency-bench.raw";
  ::setenv("SDL_AUDIODRIVER", "disk", 1);
  ::setenv("SDL_DISKAUDIOFILE", disk_file.c_str(), 1);
  SoundRig rig;
  if (!rig.Start()) {
    state.SkipWithError(("no sound: " + rig.failure).c_str());
    return;
  }
  EffectArrival arrival(*rig.sounds.EffectWave(EffectNumber(kMissile)));
  rig.device.SetObserver(&arrival);
  MeasureShots(state, rig, arrival);
  rig.device.SetObserver(nullptr);
  std::filesystem::remove(disk_file);
}

void BM_MissileLatencyAtTheSink(benchmark::State& state) {
  ::setenv("SDL_AUDIODRIVER", "pulseaudio", 1);
  SinkArrival arrival;
  if (!arrival.Recording()) {
    state.SkipWithError("no sound server to record from");
    return;
  }
  SoundRig rig;
  if (!rig.Start()) {
    state.SkipWithError(("no sound: " + rig.failure).c_str());
    return;
  }
  MeasureShots(state, rig, arrival);
}

BENCHMARK(BM_MissileLatency)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_MissileLatencyAtTheSink)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
}  // namespace kelvarok
