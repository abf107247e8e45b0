#include "game/replay_player.h"

#include "game/state_hash.h"

namespace kelvarok {
namespace {
// How often a paused replay looks whether it may go on.
constexpr std::uint32_t kPausedPollMs = 50;
}  // namespace

ReplayPlayer::ReplayPlayer(const Replay& replay, FlowHost& output)
    : FlowHostForwarder(output), replay_(replay) {
  keys_.Press(VK_RETURN);
}

void ReplayPlayer::CheckPlayedWhole() const {
  if (nextControls_ != replay_.controls.size() || nextEvent_ != replay_.events.size() ||
      nextAnswer_ != replay_.answers.size())
    OutOfStep();
}

void ReplayPlayer::WaitBegins(FlowWait wait) {
  FollowWatcher();
  ++waits_;
  wait_ = wait;
  DeliverDue();
  // A command delivered here may have opened a wait of its own (the table
  // window); this one goes on now.
  wait_ = wait;
}

void ReplayPlayer::FrameStarting(const GameWorld& world) {
  FollowWatcher();
  // A game that runs past its recorded end, or strays from its checkpoints,
  // is stopped here: within one frame of the data running out.
  if (frames_ >= replay_.frames) OutOfStep();
  if (CheckpointDue(frames_) &&
      replay_.checkpoints[frames_ / kCheckpointFrames - 1] != CheckpointHash(world))
    OutOfStep();
  ++frames_;
  while (nextControls_ < replay_.controls.size() &&
         replay_.controls[nextControls_].frame == frames_)
    controls_ = replay_.controls[nextControls_++].bits;
}

void ReplayPlayer::GameFinished(const GameState& state, const HiScoreTable& hiscores) {
  if (frames_ != replay_.frames || FinalHash(state, hiscores) != replay_.finalHash) OutOfStep();
}

void ReplayPlayer::DeliverDue() {
  while (nextEvent_ < replay_.events.size() && replay_.events[nextEvent_].wait <= waits_)
    Deliver(replay_.events[nextEvent_++].input);
}

void ReplayPlayer::Deliver(FlowInput input) {
  switch (input) {
    case FlowInput::Pause1:
      return flow_->Pause1Click();
    case FlowInput::Quitgame1:
      return flow_->Quitgame1Click();
    case FlowInput::Highscores1:
      return flow_->Highscores1Click();
    case FlowInput::Exit1:
      return flow_->Exit1Click();
    case FlowInput::CloseAccepted:
      flow_->FormCloseQuery([] { return true; });
      return;
    case FlowInput::CloseRefused:
      flow_->FormCloseQuery([] { return false; });
      return;
    case FlowInput::Activate:
      return flow_->AppOnActivate();
    case FlowInput::Deactivate:
      return flow_->AppOnDeactivate();
    case FlowInput::HelpShown:
      return flow_->HelpShown();
  }
}

void ReplayPlayer::FollowWatcher() {
  if (stopped_) throw ReplayStopped{};
  while (paused_ && !stopped_) inner().WaitForMessages(kPausedPollMs);
  if (stopped_) throw ReplayStopped{};
}

// The watcher's pause holds as soon as the message that asked for it has been
// handled, before the game does any more.
void ReplayPlayer::ProcessMessages() {
  FollowWatcher();
  inner().ProcessMessages();
  FollowWatcher();
}

void ReplayPlayer::WaitForMessages(std::uint32_t timeout_ms) {
  // Everything recorded for a pause was delivered as it began: a game still
  // paused would wait for ever.
  if (wait_ == FlowWait::Paused) OutOfStep();
  FollowWatcher();
  inner().WaitForMessages(timeout_ms);
  FollowWatcher();
}

ControlsSample ReplayPlayer::FrameControls(const ControlsSample&) {
  return ControlsFromBits(controls_);
}

bool ReplayPlayer::InputQuery(const std::string&, const std::string&, std::string& text) {
  if (nextAnswer_ >= replay_.answers.size()) OutOfStep();
  const ReplayAnswer& answer = replay_.answers[nextAnswer_++];
  if (answer.ok) text = answer.text;
  return answer.ok;
}

void ReplayPlayer::ShowHighScores(const HiScoreCells&) {
  // The table window of the recorded game is not shown again: it waited for
  // the player, and the replay goes on by itself.
}

void ReplayPlayer::CloseMainWindow() {
  // The window's answer to the close is in the recording, in this wait.
  DeliverDue();
}

}  // namespace kelvarok
