// One headless run: the real game flow on a virtual host, driven by a script
// and optionally the autopilot, traced and snapshotted on request.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "game/game_flow.h"
#include "game/game_settings.h"
#include "game/game_world.h"
#include "game/hiscores.h"
#include "game/replay_game.h"
#include "game/sprite_set.h"
#include "platform/text_painter.h"
#include "sim/autopilot.h"
#include "sim/script.h"
#include "sim/trace.h"
#include "sim/virtual_flow_host.h"

namespace kelvarok::sim {

struct Snapshot {
  std::uint32_t time = 0;
  std::string path;  // a PNG file
};

// What the desktop program would have read from its settings file.
struct PlayerSettings {
  GameSettings game;
  HiScoreTable hiscores;
};

struct SimOptions {
  std::uint64_t seed = 0;
  // Without them: the defaults and an empty table, and each joystick the
  // script moves is assigned to its player.
  std::optional<PlayerSettings> settings;
  std::vector<ScriptEvent> script;
  bool autopilot = false;
  std::optional<std::uint32_t> until;
  std::ostream* trace = nullptr;
  std::vector<Snapshot> snapshots;
  // Receives every key the autopilot presses or releases as a script line.
  std::ostream* keyRecord = nullptr;
  // Plays this recorded game instead of a script: seed, settings, script and
  // autopilot are then not used.
  std::optional<Replay> replay;
};

// With the script done, a run ends this long after its last frame: the game
// then waits for input that can never come (a pause, a turn prompt, a key
// held at game over). The longest wait between frames of a game is 8 s.
inline constexpr std::uint32_t kStallLimitMs = 60000;

class Simulator final : public FlowObserver, public HostListener {
 public:
  Simulator(const SpriteSet& sprites, TextPainter& fieldText, SimOptions options);

  // Runs to the end and returns the closing object (also the trace's last line).
  std::string Run();

  // Called after every frame, after the trace and the autopilot.
  std::function<void(FramePhase)> onFrame;

  const GameWorld& world() const { return *world_; }
  // After a replay's run: whether each player's final score and round are
  // the recorded ones.
  bool EndedAsRecorded() const;
  VirtualFlowHost& host() { return host_; }
  std::uint64_t framesPlayed() const { return frames_; }
  // Snapshots whose time the run did not reach.
  const std::vector<Snapshot>& missedSnapshots() const { return missed_; }

 private:
  // FlowObserver
  void FramePlayed(FramePhase phase, std::uint32_t frameStart, std::int32_t penalty) override;
  void MessageDrawn(const std::string& first, const std::string& second) override;
  void FieldRestored() override;
  // HostListener
  void CaptionSet(const std::string& text) override;
  void SoundPlayed(Effect effect) override;
  void MenuChanged() override;
  void Prompted(const std::string& prompt, const std::string* answer) override;
  void HiScoresShown() override;
  void MessagesProcessing() override;
  void ClockAdvancing(std::uint32_t from, std::uint32_t to) override;

  void SetKey(int vk, bool down);
  void TakeSnapshots(std::uint32_t before);

  SimOptions options_;
  GameSettings settings_;
  HiScoreTable hiscores_;
  VirtualFlowHost host_;
  std::unique_ptr<GameWorld> ownWorld_;
  std::unique_ptr<GameFlow> ownFlow_;
  std::unique_ptr<ReplayGame> replayGame_;
  GameWorld* world_ = nullptr;
  GameFlow* flow_ = nullptr;
  HiScoreTable* table_ = &hiscores_;
  std::unique_ptr<Trace> trace_;
  std::unique_ptr<Autopilot> autopilot_;
  std::vector<Snapshot> missed_;
  std::size_t nextSnapshot_ = 0;
  std::uint64_t frames_ = 0;
  bool steering_ = false;
};

}  // namespace kelvarok::sim
