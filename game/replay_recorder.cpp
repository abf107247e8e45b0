#include "game/replay_recorder.h"

#include "game/rules_revision.h"
#include "game/state_hash.h"

namespace kelvarok {

ReplayRecorder::ReplayRecorder(FlowHost& window, std::string programVersion,
                               std::function<void(Replay)> finished)
    : FlowHostForwarder(window),
      programVersion_(std::move(programVersion)),
      finished_(std::move(finished)) {}

void ReplayRecorder::GameStarting(std::int32_t players, const GameWorld& world,
                                  const HiScoreTable& hiscores) {
  replay_ = Replay{};
  replay_.rulesRevision = kRulesRevision;
  replay_.programVersion = programVersion_;
  replay_.players = players;
  replay_.randomState = world.random.State();
  replay_.settings = world.settings();
  replay_.hiscores = hiscores;
  replay_.fireLatch = world.state.FireLatch;
  waits_ = 0;
  controls_ = 0;
  recording_ = true;
}

void ReplayRecorder::WaitBegins(FlowWait) {
  if (recording_) ++waits_;
}

void ReplayRecorder::FrameStarting(const GameWorld& world) {
  if (!recording_) return;
  if (CheckpointDue(replay_.frames)) replay_.checkpoints.push_back(CheckpointHash(world));
  ++replay_.frames;
}

void ReplayRecorder::InputArrived(FlowInput input) {
  if (recording_) replay_.events.push_back({inMessages_ > 0 ? waits_ : waits_ + 1, input});
}

void ReplayRecorder::GameFinished(const GameState& state, const HiScoreTable& hiscores) {
  if (!recording_) return;
  recording_ = false;
  replay_.finalHash = FinalHash(state, hiscores);
  if (finished_) finished_(std::move(replay_));
}

ControlsSample ReplayRecorder::FrameControls(const ControlsSample& sampled) {
  const ControlsSample controls = inner().FrameControls(sampled);
  const std::uint8_t bits = ControlBits(controls);
  if (recording_ && bits != controls_) {
    replay_.controls.push_back({replay_.frames, bits});
    controls_ = bits;
  }
  return controls;
}

// Counts the depth of a message call while it runs, however it ends.
class ReplayRecorder::InMessages {
 public:
  explicit InMessages(int& depth) : depth_(++depth) {}
  ~InMessages() { --depth_; }
  InMessages(const InMessages&) = delete;
  InMessages& operator=(const InMessages&) = delete;

 private:
  int& depth_;
};

void ReplayRecorder::ProcessMessages() {
  const InMessages in(inMessages_);
  inner().ProcessMessages();
}

void ReplayRecorder::WaitForMessages(std::uint32_t timeout_ms) {
  const InMessages in(inMessages_);
  inner().WaitForMessages(timeout_ms);
}

void ReplayRecorder::ShowHighScores(const HiScoreCells& cells) {
  const InMessages in(inMessages_);
  inner().ShowHighScores(cells);
}

bool ReplayRecorder::InputQuery(const std::string& caption, const std::string& prompt,
                                std::string& text) {
  bool ok = false;
  {
    const InMessages in(inMessages_);
    ok = inner().InputQuery(caption, prompt, text);
  }
  if (recording_) replay_.answers.push_back({ok, ok ? text : std::string()});
  return ok;
}

}  // namespace kelvarok
