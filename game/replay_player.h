// Plays a recorded game back into a flow: to the flow it is the window, and
// it answers every read of the clock, the keys and the sticks and every name
// prompt from the recording, and delivers each recorded input at its message
// point. What the flow shows (caption, panels, field, sounds) goes on to the
// output window, and the replay keeps to the recorded times on the output's
// clock: the real window shows the game at its own speed, a virtual host runs
// through it at once.
#pragma once

#include <cstddef>
#include <map>
#include <stdexcept>

#include "game/flow_host_forwarder.h"
#include "game/game_flow.h"
#include "game/replay.h"

namespace kelvarok {

// The flow asked for something the recording does not have, or left part of
// it unread: the recording is not of this program's game.
class ReplayOutOfStep : public std::runtime_error {
 public:
  ReplayOutOfStep() : std::runtime_error("The replay does not match this version of the game.") {}
};

// Thrown out of the flow when the watcher stops the replay.
struct ReplayStopped {};

class ReplayPlayer final : public FlowHostForwarder {
 public:
  ReplayPlayer(const Replay& replay, FlowHost& output);

  void Attach(GameFlow& flow) { flow_ = &flow; }
  // Throws ReplayOutOfStep unless the whole recording was played.
  void CheckPlayedWhole() const;

  // The watcher's controls, for the output window's key handling while the
  // replay runs: a paused replay holds still, a stopped one throws
  // ReplayStopped at its next message point.
  void SetPaused(bool paused) { paused_ = paused; }
  bool Paused() const { return paused_; }
  void Stop() { stopped_ = true; }

  // --- FlowHost: what the game shows passes on to the output ------------------
  void ProcessMessages() override;
  void WaitForMessages(std::uint32_t timeout_ms) override;
  Clock& clock() override { return clock_; }
  KeyState& Keys() override { return keys_; }
  Joystick& Joysticks() override { return joysticks_; }
  bool InputQuery(const std::string& caption, const std::string& prompt,
                  std::string& text) override;
  void ShowHighScores(const HiScoreCells& cells) override;
  void CloseMainWindow() override;
  // The replayed game's menu is not the window's.
  void SetMenuEnabled(MenuItem, bool) override {}
  void SetMenuChecked(MenuItem, bool) override {}

 private:
  class RecordedClock final : public Clock {
   public:
    explicit RecordedClock(ReplayPlayer& player) : player_(player) {}
    std::uint32_t timeGetTime() override;

   private:
    ReplayPlayer& player_;
  };
  class RecordedKeys final : public KeyState {
   public:
    explicit RecordedKeys(const Replay& replay) : replay_(replay) {}
    std::int16_t GetAsyncKeyState(int vk) override;
    bool PlayedAll() const { return next_ == replay_.keys.size(); }

   private:
    const Replay& replay_;
    std::map<int, std::int16_t> last_;
    std::uint32_t reads_ = 0;
    std::size_t next_ = 0;
  };
  class RecordedJoysticks final : public Joystick {
   public:
    explicit RecordedJoysticks(const Replay& replay) : replay_(replay) {}
    std::uint32_t joyGetPos(std::uint32_t id, JOYINFO& info) override;
    bool PlayedAll() const { return next_ == replay_.joysticks.size(); }

   private:
    const Replay& replay_;
    std::map<std::uint32_t, ReplayJoystickChange> last_;
    std::uint32_t reads_ = 0;
    std::size_t next_ = 0;
  };

  // Counts the point and delivers the inputs recorded for it.
  void BeginPoint();
  void DeliverDue();
  void Deliver(FlowInput input);
  // Waits on the output until its clock has moved on as far from the first
  // read as the recording's next read lies from its first; holds while paused.
  void KeepToRecordedTime();

  const Replay& replay_;
  GameFlow* flow_ = nullptr;
  RecordedClock clock_{*this};
  RecordedKeys keys_;
  RecordedJoysticks joysticks_;
  std::size_t nextClockRead_ = 0;
  std::size_t nextEvent_ = 0;
  std::size_t nextAnswer_ = 0;
  std::uint32_t points_ = 0;
  std::uint32_t outputOrigin_ = 0;
  bool paused_ = false;
  bool stopped_ = false;
};

}  // namespace kelvarok
