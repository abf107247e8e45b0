// Sound latency: from a SoundEffect call to the moment SDL's audio callback
// copies the effect's first byte out of the device layer, for 100 missile
// shots 300 ms apart while this thread delivers the mixer's messages as the
// desktop's event loop does. SDL runs its disk driver, which paces itself
// like a real device, so the figures do not depend on the machine's sound card.
#include <benchmark/benchmark.h>

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

// Watches what the device plays, on SDL's audio thread, for the opening bytes
// of an effect requested since it was armed.
class EffectArrival final : public WaveOutObserver {
 public:
  explicit EffectArrival(const TMixWave& wave) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(wave.Header.lpData);
    signature_.assign(data,
                      data + std::min<std::size_t>(kSignatureBytes, wave.Header.dwBufferLength));
  }

  void Arm() {
    std::lock_guard lock(mutex_);
    seen_.clear();
    arrived_.reset();
    armed_ = true;
  }
  std::optional<Moment> Arrived() {
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

void BM_MissileLatency(benchmark::State& state) {
  const std::filesystem::path disk_file =
      std::filesystem::temp_directory_path() / "kelvarok-latency-bench.raw";
  ::setenv("SDL_AUDIODRIVER", "disk", 1);
  ::setenv("SDL_DISKAUDIOFILE", disk_file.c_str(), 1);

  WindowMessages messages;
  MessageWait wait(messages);
  SteadyClock clock;
  SdlWaveOut device(messages);
  IniTextReader ini;  // no "WAVEMIX.INI": the mixer's defaults
  HeapMixerMemory memory;
  MixerModule mixer({device, messages, ini, clock, memory, {}});
  std::string failure;
  GameSounds sounds({mixer, device, messages, [&](const std::string& m) { failure = m; }},
                    device.waveOutGetNumDevs() > 0);
  sounds.LoadEffects();
  sounds.SetActivated(true);
  if (!sounds.Activated()) {
    state.SkipWithError(("no sound: " + failure).c_str());
    return;
  }
  EffectArrival arrival(*sounds.EffectWave(EffectNumber(kMissile)));
  device.SetObserver(&arrival);

  std::vector<double> latencies;
  int missed = 0;
  for (auto _ : state) {
    Moment next = std::chrono::steady_clock::now() + kShotSpacing;
    for (int shot = 0; shot < kShots; ++shot) {
      while (std::chrono::steady_clock::now() < next) {
        wait.Until(next);
        sounds.DispatchMixerMessages();
      }
      const Moment requested = std::chrono::steady_clock::now();
      arrival.Arm();
      sounds.SoundEffect(kMissile);
      next = requested + kShotSpacing;
      while (!arrival.Arrived() && std::chrono::steady_clock::now() < next) {
        wait.Until(std::min(next, std::chrono::steady_clock::now() + std::chrono::milliseconds(1)));
        sounds.DispatchMixerMessages();
      }
      if (const auto arrived = arrival.Arrived()) {
        latencies.push_back(Milliseconds(*arrived - requested).count());
      } else {
        ++missed;
      }
    }
  }
  device.SetObserver(nullptr);
  sounds.SetActivated(false);
  std::filesystem::remove(disk_file);
  if (latencies.empty()) {
    state.SkipWithError("no shot was heard");
    return;
  }
  state.counters["median_ms"] = Percentile(latencies, 0.5);
  state.counters["p95_ms"] = Percentile(latencies, 0.95);
  state.counters["max_ms"] = Percentile(latencies, 1.0);
  state.counters["missed"] = missed;
  state.counters["underruns"] = device.Underruns();
  if (!failure.empty()) state.SetLabel(failure);
}

BENCHMARK(BM_MissileLatency)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
}  // namespace kelvarok
