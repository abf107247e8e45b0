#include "tests/game/flow_test_support.h"

#include <variant>

#include "sim/script.h"

namespace kelvarok::testing {

FlowTest::FlowTest(std::uint64_t seed)
    : world(std::make_unique<GameWorld>(sprites, settings, host, seed)),
      flow(std::make_unique<GameFlow>(*world, host, hiscores, "Kelvarok 2.10")) {
  host.Attach(*flow);
  host.SetStallLimit(60000);  // a test waiting for input it never gets fails, not hangs
  host.SetListener(&soundLog);
  flow->SetObserver(this);
}

void FlowTest::Script(const std::string& lines) {
  auto parsed = sim::ParseScript(lines);
  if (const auto* error = std::get_if<sim::ScriptError>(&parsed)) {
    ADD_FAILURE() << "line " << error->line << ": " << error->reason;
    return;
  }
  host.AddEvents(std::get<std::vector<sim::ScriptEvent>>(parsed));
}

int FlowTest::FramesIn(FramePhase phase) const {
  int n = 0;
  for (const PlayedFrame& f : frames) n += f.phase == phase ? 1 : 0;
  return n;
}

void FlowTest::FramePlayed(FramePhase phase, std::uint32_t frameStart, std::int32_t penalty) {
  host.Progressed();
  frames.push_back({phase, frameStart, penalty});
  if (onFrame) onFrame(frames.back());
}

void FlowTest::MessageDrawn(const std::string& first, const std::string& second) {
  messages_.push_back(first + "|" + second);
}

void ClearRound(GameState& state) {
  for (int i = 1; i <= kRockSlots; ++i) state.CurRocks()[i].Active = false;
  state.RockCount[state.CurPlayer] = 0;
  state.RoundCleared = true;
}

}  // namespace kelvarok::testing
