// Records the games a window plays: it stands between the flow (and its
// world) and the window, passes every call through, and while a game runs
// keeps what the game read: the world as the game found it, each frame's
// controls, every command and focus change with the wait in which it arrived,
// every answer to a name prompt, and the hashes of the state.
#pragma once

#include <functional>
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
  void GameStarting(std::int32_t players, const GameWorld& world,
                    const HiScoreTable& hiscores) override;
  void WaitBegins(FlowWait wait) override;
  void FrameStarting(const GameWorld& world) override;
  void InputArrived(FlowInput input) override;
  void GameFinished(const GameState& state, const HiScoreTable& hiscores) override;

  // --- FlowHost: the controls and answers are kept, all passes through --------
  ControlsSample FrameControls(const ControlsSample& sampled) override;
  // Inputs reach the game inside these calls, in the wait that called them;
  // one that arrives outside them (from a frame's observer) takes effect in
  // the next wait.
  void ProcessMessages() override;
  void WaitForMessages(std::uint32_t timeout_ms) override;
  bool InputQuery(const std::string& caption, const std::string& prompt,
                  std::string& text) override;
  void ShowHighScores(const HiScoreCells& cells) override;

 private:
  class InMessages;

  const std::string programVersion_;
  std::function<void(Replay)> finished_;
  bool recording_ = false;
  Replay replay_;
  std::uint32_t waits_ = 0;
  int inMessages_ = 0;         // the depth of the calls above
  std::uint8_t controls_ = 0;  // the bits of the last sample kept
};

}  // namespace kelvarok
