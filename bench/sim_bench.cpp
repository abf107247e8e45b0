// Frames of play per second of the headless simulator: the autopilot plays on
// the virtual clock with the real sprites, without a trace.
#include <benchmark/benchmark.h>

#include "assets/sprites.h"
#include "tools/sim/simulator.h"

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

}  // namespace
