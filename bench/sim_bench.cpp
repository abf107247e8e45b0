// Frames of play per second of the headless simulator: the autopilot plays on
// the virtual clock with the real sprites, without a trace; and the memory a
// run recording its sound takes, which must not grow with the run's length.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "assets/sprites.h"
#include "sim/recorded_sound.h"
#include "sim/simulator.h"

namespace {

// Field messages are rare (between lives); measuring and drawing them is left
// out.
class NoText final : public kelvarok::TextPainter {
 public:
  kelvarok::TextExtent TextExtentOf(const std::string&) override { return {}; }
  void TextOut(kelvarok::Bitmap&, int, int, const std::string&) override {}
};

void BM_AutopilotFrames(benchmark::State& state) {
  const kelvarok::SpriteSet sprites = kelvarok::LoadSprites();
  NoText text;
  std::uint64_t frames = 0;
  std::uint64_t seed = 1;
  for (auto _ : state) {
    kelvarok::sim::SimOptions options;
    options.seed = seed++;
    options.autopilot = true;
    options.until = 600000;  // ten minutes of play
    kelvarok::sim::Simulator sim(sprites, text, options);
    sim.Run();
    frames += sim.framesPlayed();
  }
  state.counters["frames_per_second"] =
      benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_AutopilotFrames)->Unit(benchmark::kMillisecond);

double PeakResidentMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in kB
}

// Target: the peak stays where a short run puts it (the WAV is written as the
// run goes); keeping the recording in memory would add 11 kB per second of
// virtual time, 110 MB for the longest run here.
void BM_RecordedRunPeakMemory(benchmark::State& state) {
  const kelvarok::SpriteSet sprites = kelvarok::LoadSprites();
  NoText text;
  const std::filesystem::path wav = std::filesystem::temp_directory_path() /
                                    ("kelvarok-sim-bench-" + std::to_string(::getpid()) + ".wav");
  for (auto _ : state) {
    kelvarok::sim::SimOptions options;
    options.seed = 3;
    options.autopilot = true;
    // New games all the while, so that the run lasts its whole length.
    for (std::uint32_t t = 100000; t < state.range(0); t += 100000) {
      kelvarok::sim::ScriptEvent start;
      start.time = t;
      start.kind = kelvarok::sim::ScriptEvent::Kind::Menu;
      options.script.push_back(start);
    }
    options.until = static_cast<std::uint32_t>(state.range(0));
    kelvarok::sim::Simulator sim(sprites, text, options);
    kelvarok::sim::RecordedSound sound(sim.host().clock(), [](const std::string&) {});
    if (!sound.RecordTo(wav)) state.SkipWithError("cannot write the WAV file");
    sim.host().SetSound(sound);
    sim.Run();
    sound.Finish();
  }
  std::filesystem::remove(wav);
  state.counters["peak_rss_mb"] = PeakResidentMegabytes();
}
// The peak is the whole process's: read each length's figure from a run of
// its own, --benchmark_filter=BM_RecordedRunPeakMemory/N.
BENCHMARK(BM_RecordedRunPeakMemory)
    ->Arg(600000)
    ->Arg(10000000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
