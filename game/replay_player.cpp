#include "game/replay_player.h"

namespace kelvarok {
namespace {
// How often a paused replay looks whether it may go on.
constexpr std::uint32_t kPausedPollMs = 50;
}  // namespace

ReplayPlayer::ReplayPlayer(const Replay& replay, FlowHost& output)
    : FlowHostForwarder(output), replay_(replay), keys_(replay), joysticks_(replay) {}

void ReplayPlayer::CheckPlayedWhole() const {
  if (nextClockRead_ != replay_.clockReads.size() || nextEvent_ != replay_.events.size() ||
      nextAnswer_ != replay_.answers.size() || !keys_.PlayedAll() || !joysticks_.PlayedAll())
    throw ReplayOutOfStep();
}

void ReplayPlayer::BeginPoint() {
  if (stopped_) throw ReplayStopped{};
  ++points_;
  DeliverDue();
}

void ReplayPlayer::DeliverDue() {
  while (nextEvent_ < replay_.events.size() && replay_.events[nextEvent_].point <= points_)
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

void ReplayPlayer::ProcessMessages() {
  BeginPoint();
  inner().ProcessMessages();
}

void ReplayPlayer::WaitForMessages(std::uint32_t) {
  BeginPoint();
  KeepToRecordedTime();
}

void ReplayPlayer::KeepToRecordedTime() {
  for (;;) {
    if (stopped_) throw ReplayStopped{};
    if (paused_) {
      const std::uint32_t pausedAt = inner().clock().timeGetTime();
      while (paused_ && !stopped_) inner().WaitForMessages(kPausedPollMs);
      outputOrigin_ += inner().clock().timeGetTime() - pausedAt;
      continue;
    }
    if (nextClockRead_ == 0 || nextClockRead_ >= replay_.clockReads.size()) {
      inner().ProcessMessages();
      return;
    }
    const std::uint32_t due = replay_.clockReads[nextClockRead_] - replay_.clockReads[0];
    const std::uint32_t elapsed = inner().clock().timeGetTime() - outputOrigin_;
    if (elapsed >= due) return;
    inner().WaitForMessages(due - elapsed);
  }
}

bool ReplayPlayer::InputQuery(const std::string&, const std::string&, std::string& text) {
  BeginPoint();
  if (nextAnswer_ >= replay_.answers.size()) throw ReplayOutOfStep();
  const ReplayAnswer& answer = replay_.answers[nextAnswer_++];
  if (answer.ok) text = answer.text;
  return answer.ok;
}

void ReplayPlayer::ShowHighScores(const HiScoreCells&) {
  // The table window of the recorded game is not shown again: it waited for
  // the player, and the replay goes on by itself.
  BeginPoint();
}

void ReplayPlayer::CloseMainWindow() {
  // The window's answer to the close is in the recording, at this point.
  DeliverDue();
}

std::uint32_t ReplayPlayer::RecordedClock::timeGetTime() {
  ReplayPlayer& player = player_;
  if (player.nextClockRead_ >= player.replay_.clockReads.size()) throw ReplayOutOfStep();
  if (player.nextClockRead_ == 0) player.outputOrigin_ = player.inner().clock().timeGetTime();
  return player.replay_.clockReads[player.nextClockRead_++];
}

std::int16_t ReplayPlayer::RecordedKeys::GetAsyncKeyState(int vk) {
  std::int16_t& last = last_[vk];
  if (next_ < replay_.keys.size() && replay_.keys[next_].read == reads_)
    last = replay_.keys[next_++].result;
  ++reads_;
  return last;
}

std::uint32_t ReplayPlayer::RecordedJoysticks::joyGetPos(std::uint32_t id, JOYINFO& info) {
  ReplayJoystickChange& last = last_[id];
  if (next_ < replay_.joysticks.size() && replay_.joysticks[next_].read == reads_)
    last = replay_.joysticks[next_++];
  ++reads_;
  info = last.info;
  return last.result;
}

}  // namespace kelvarok
