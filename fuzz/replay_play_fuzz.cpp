// Plays every replay DecodeReplay accepts (see replay_container.h for the
// input's first byte) on the virtual host, as kelvarok-sim --replay does. The
// playback must end by itself: played whole, or stopped as out of step. A
// game takes at most 40 ms of virtual time a frame and its waits between
// frames are few and short, so a playback that reaches the bound below waits
// for something that never comes: a hang, and a finding.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "fuzz/replay_container.h"
#include "sim/simulator.h"

namespace {

// Blank pictures of the real sizes: the game draws, nobody looks.
const kelvarok::SpriteSet& Sprites() {
  static const kelvarok::SpriteSet sprites = [] {
    using kelvarok::Bitmap;
    kelvarok::SpriteSet s;
    s.background = Bitmap(750, 450);
    for (Bitmap* ship :
         {&s.iship, &s.ishield, &s.ishipfire, &s.ishieldfire, &s.ishipmask, &s.ishipfiremask})
      *ship = Bitmap(36 * 27, 27);
    for (Bitmap* rock : {&s.irockbig, &s.irockbigmask}) *rock = Bitmap(24 * 29, 29);
    for (Bitmap* rock : {&s.irockmedium, &s.irockmediummask}) *rock = Bitmap(24 * 21, 21);
    for (Bitmap* rock : {&s.irocksmall, &s.igrock, &s.irocksmallmask}) *rock = Bitmap(24 * 13, 13);
    s.imissile = Bitmap(3, 3);
    for (Bitmap* crash : {&s.icrash1, &s.icrashmask1, &s.icrash2, &s.icrashmask2})
      *crash = Bitmap(18 * 27, 27);
    return s;
  }();
  return sprites;
}

class NoText final : public kelvarok::TextPainter {
 public:
  kelvarok::TextExtent TextExtentOf(const std::string& text) override {
    return {static_cast<int>(text.size()), 1};
  }
  void TextOut(kelvarok::Bitmap&, int, int, const std::string&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kelvarok::sim::SimOptions options;
  try {
    options.replay = kelvarok::DecodeReplay(kelvarok::fuzz::ReplayFileOf(data, size));
  } catch (const kelvarok::ReplayFileError&) {
    return 0;
  }
  const std::uint64_t bound = std::min<std::uint64_t>(
      (std::uint64_t{options.replay->frames} + 1) * 80 + 120'000, UINT32_MAX);
  options.until = static_cast<std::uint32_t>(bound);
  NoText text;
  kelvarok::sim::Simulator sim(Sprites(), text, std::move(options));
  try {
    sim.Run();
  } catch (const kelvarok::ReplayOutOfStep&) {
    return 0;
  }
  kelvarok::fuzz::Check(sim.ReplayFinished() && sim.host().now() < bound,
                        "a replay plays to its end or stops out of step");
  return 0;
}
