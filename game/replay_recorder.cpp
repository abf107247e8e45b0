#include "game/replay_recorder.h"

namespace kelvarok {

ReplayRecorder::ReplayRecorder(FlowHost& window, std::string programVersion,
                               std::function<void(Replay)> finished)
    : FlowHostForwarder(window),
      programVersion_(std::move(programVersion)),
      finished_(std::move(finished)) {}

void ReplayRecorder::GameStarting(std::int32_t players, const Random& random,
                                  const GameSettings& settings, const HiScoreTable& hiscores) {
  replay_ = Replay{};
  replay_.programVersion = programVersion_;
  replay_.players = players;
  replay_.randomState = random.State();
  replay_.settings = settings;
  replay_.hiscores = hiscores;
  keys_.last_.clear();
  keys_.reads_ = 0;
  joysticks_.last_.clear();
  joysticks_.reads_ = 0;
  points_ = 0;
  recording_ = true;
}

void ReplayRecorder::InputArrived(FlowInput input) {
  if (!recording_) return;
  replay_.events.push_back({inPoint_ ? points_ : points_ + 1, input});
}

void ReplayRecorder::GameFinished(const GameState& state) {
  if (!recording_) return;
  recording_ = false;
  replay_.finalScores = state.Score;
  replay_.finalRounds = state.RoundNo;
  if (finished_) finished_(std::move(replay_));
}

void ReplayRecorder::BeginPoint() {
  ++points_;
  inPoint_ = true;
}

void ReplayRecorder::ProcessMessages() {
  BeginPoint();
  inner().ProcessMessages();
  EndPoint();
}

void ReplayRecorder::WaitForMessages(std::uint32_t timeout_ms) {
  BeginPoint();
  inner().WaitForMessages(timeout_ms);
  EndPoint();
}

bool ReplayRecorder::InputQuery(const std::string& caption, const std::string& prompt,
                                std::string& text) {
  BeginPoint();
  const bool ok = inner().InputQuery(caption, prompt, text);
  EndPoint();
  if (recording_) replay_.answers.push_back({ok, ok ? text : std::string()});
  return ok;
}

void ReplayRecorder::ShowHighScores(const HiScoreCells& cells) {
  BeginPoint();
  inner().ShowHighScores(cells);
  EndPoint();
}

std::uint32_t ReplayRecorder::RecordingClock::timeGetTime() {
  const std::uint32_t now = recorder_.inner().clock().timeGetTime();
  if (recorder_.recording_) recorder_.replay_.clockReads.push_back(now);
  return now;
}

std::int16_t ReplayRecorder::RecordingKeys::GetAsyncKeyState(int vk) {
  const std::int16_t result = recorder_.inner().Keys().GetAsyncKeyState(vk);
  if (!recorder_.recording_) return result;
  std::int16_t& last = last_[vk];
  if (result != last) recorder_.replay_.keys.push_back({reads_, result});
  last = result;
  ++reads_;
  return result;
}

std::uint32_t ReplayRecorder::RecordingJoysticks::joyGetPos(std::uint32_t id, JOYINFO& info) {
  const std::uint32_t result = recorder_.inner().Joysticks().joyGetPos(id, info);
  if (!recorder_.recording_) return result;
  ReplayJoystickChange& last = last_[id];
  if (result != last.result || !(info == last.info))
    recorder_.replay_.joysticks.push_back({reads_, result, info});
  last.result = result;
  last.info = info;
  ++reads_;
  return result;
}

}  // namespace kelvarok
