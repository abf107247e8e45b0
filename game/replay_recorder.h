// Records the games a window plays: it stands between the flow (and its
// world) and the window, passes every call through, and while a game runs
// keeps every read of the clock, the keys and the sticks, every answer to a
// name prompt and every input at the message point where it arrived.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "game/flow_host_forwarder.h"
#include "game/game_flow.h"
#include "game/replay.h"

namespace kelvarok {

class ReplayRecorder final : public FlowHostForwarder, public FlowInputListener {
 public:
  // finished hears of each recorded game as it ends.
  ReplayRecorder(FlowHost& window, std::string programVersion,
                 std::function<void(Replay)> finished);

  bool Recording() const { return recording_; }

  // --- FlowInputListener --------------------------------------------------------
  void GameStarting(std::int32_t players, const Random& random, const GameSettings& settings,
                    const HiScoreTable& hiscores) override;
  void InputArrived(FlowInput input) override;
  void GameFinished(const GameState& state) override;

  // --- FlowHost: the reads are kept, everything else passes through ----------
  void ProcessMessages() override;
  void WaitForMessages(std::uint32_t timeout_ms) override;
  Clock& clock() override { return clock_; }
  KeyState& Keys() override { return keys_; }
  Joystick& Joysticks() override { return joysticks_; }
  bool InputQuery(const std::string& caption, const std::string& prompt,
                  std::string& text) override;
  void ShowHighScores(const HiScoreCells& cells) override;

 private:
  class RecordingClock final : public Clock {
   public:
    explicit RecordingClock(ReplayRecorder& recorder) : recorder_(recorder) {}
    std::uint32_t timeGetTime() override;

   private:
    ReplayRecorder& recorder_;
  };
  class RecordingKeys final : public KeyState {
   public:
    explicit RecordingKeys(ReplayRecorder& recorder) : recorder_(recorder) {}
    std::int16_t GetAsyncKeyState(int vk) override;

   private:
    ReplayRecorder& recorder_;
    std::map<int, std::int16_t> last_;
    std::uint32_t reads_ = 0;
    friend class ReplayRecorder;
  };
  class RecordingJoysticks final : public Joystick {
   public:
    explicit RecordingJoysticks(ReplayRecorder& recorder) : recorder_(recorder) {}
    std::uint32_t joyGetPos(std::uint32_t id, JOYINFO& info) override;

   private:
    ReplayRecorder& recorder_;
    std::map<std::uint32_t, ReplayJoystickChange> last_;
    std::uint32_t reads_ = 0;
    friend class ReplayRecorder;
  };

  // A message point begins or ends; the inputs that arrive between two points
  // belong to the next one.
  void BeginPoint();
  void EndPoint() { inPoint_ = false; }

  const std::string programVersion_;
  std::function<void(Replay)> finished_;
  RecordingClock clock_{*this};
  RecordingKeys keys_{*this};
  RecordingJoysticks joysticks_{*this};
  bool recording_ = false;
  Replay replay_;
  std::uint32_t points_ = 0;
  bool inPoint_ = false;
};

}  // namespace kelvarok
