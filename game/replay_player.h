// Plays a recorded game back into a flow: to the flow it is the window. It
// answers each frame's controls and every name prompt from the recording,
// delivers each recorded command and focus change as the wait in which it
// arrived begins, and checks the state against the recorded hashes. Waits
// that end by the clock run on the output window's clock, so the real window
// shows the game at its own speed and a virtual host runs through it at once;
// waits that end by the player (a pause, Enter, the keys let go) end as soon
// as the recording says they did. Everything the game shows goes on to the
// output window, whose messages keep flowing in every wait.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include "game/flow_host_forwarder.h"
#include "game/game_flow.h"
#include "game/replay.h"
#include "platform/joystick.h"
#include "platform/key_state.h"

namespace kelvarok {

// The game went where the recording does not: the recording is not of this
// program's game. frame() is the frame at which that was found (0 before the
// first frame).
class ReplayOutOfStep : public std::runtime_error {
 public:
  explicit ReplayOutOfStep(std::uint32_t frame)
      : std::runtime_error("The replay does not match this version of the game."), frame_(frame) {}
  std::uint32_t frame() const { return frame_; }

 private:
  std::uint32_t frame_;
};

// Thrown out of the flow when the watcher stops the replay.
struct ReplayStopped {};

class ReplayPlayer final : public FlowHostForwarder, public FlowInputListener {
 public:
  ReplayPlayer(const Replay& replay, FlowHost& output);

  void Attach(GameFlow& flow) { flow_ = &flow; }
  // Throws ReplayOutOfStep unless the whole recording was played.
  void CheckPlayedWhole() const;
  std::uint32_t Frame() const { return frames_; }

  // The watcher's controls, for the output window's key handling while the
  // replay runs: a paused replay holds still, a stopped one throws
  // ReplayStopped at its next wait.
  void SetPaused(bool paused) { paused_ = paused; }
  bool Paused() const { return paused_; }
  void Stop() { stopped_ = true; }

  // --- FlowInputListener: where the recording is played -------------------
  void GameStarting(std::int32_t, const GameWorld&, const HiScoreTable&) override {}
  void WaitBegins(FlowWait wait) override;
  void FrameStarting(const GameWorld& world) override;
  void InputArrived(FlowInput) override {}
  void GameFinished(const GameState& state, const HiScoreTable& hiscores) override;

  // --- FlowHost: what the game reads comes from the recording -----------------
  void ProcessMessages() override;
  void WaitForMessages(std::uint32_t timeout_ms) override;
  // Enter is down, every other key up: the waits for them end at once.
  KeyState& Keys() override { return keys_; }
  Joystick& Joysticks() override { return joysticks_; }
  ControlsSample FrameControls(const ControlsSample& sampled) override;
  bool InputQuery(const std::string& caption, const std::string& prompt,
                  std::string& text) override;
  void ShowHighScores(const HiScoreCells& cells) override;
  void CloseMainWindow() override;
  // The replayed game's menu is not the window's.
  void SetMenuEnabled(MenuItem, bool) override {}
  void SetMenuChecked(MenuItem, bool) override {}

 private:
  void DeliverDue();
  void Deliver(FlowInput input);
  // Throws ReplayStopped once the watcher stopped; holds while paused.
  void FollowWatcher();
  [[noreturn]] void OutOfStep() const { throw ReplayOutOfStep(frames_); }

  const Replay& replay_;
  GameFlow* flow_ = nullptr;
  KeyTable keys_;
  ScriptedJoysticks joysticks_;  // none plugged in
  FlowWait wait_ = FlowWait::Time;
  std::uint32_t waits_ = 0;
  std::uint32_t frames_ = 0;
  std::uint8_t controls_ = 0;
  std::size_t nextControls_ = 0;
  std::size_t nextEvent_ = 0;
  std::size_t nextAnswer_ = 0;
  bool paused_ = false;
  bool stopped_ = false;
};

}  // namespace kelvarok
