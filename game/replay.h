// A recorded game: everything the flow read from its window while the game
// ran, in the order it read it, so that playing the reads back gives the same
// game frame for frame.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/game_settings.h"
#include "game/game_state.h"
#include "game/hiscores.h"
#include "platform/joystick.h"

namespace kelvarok {

// What reaches the flow from outside between its frames.
enum class FlowInput : std::uint8_t {
  Pause1,
  Quitgame1,
  Highscores1,
  Exit1,
  CloseAccepted,  // a close attempt the window let through
  CloseRefused,   // a close attempt the window turned down
  Activate,
  Deactivate,
  HelpShown,
};
constexpr int kFlowInputs = 9;

// Message points are counted from 1 as the flow enters them: every round of
// message processing, every wait and every modal window of the game.
struct ReplayEvent {
  std::uint32_t point;  // delivered as this point begins
  FlowInput input;
  friend bool operator==(const ReplayEvent&, const ReplayEvent&) = default;
};

// Key and joystick polls keep only their changes: read is the poll's number
// (from 0, over all keys or all sticks) at which the result first differs from
// the last poll of the same key or stick (all keys start up, all sticks
// JOYERR_NOERROR at zero).
struct ReplayKeyChange {
  std::uint32_t read;
  std::int16_t result;
  friend bool operator==(const ReplayKeyChange&, const ReplayKeyChange&) = default;
};
struct ReplayJoystickChange {
  std::uint32_t read;
  std::uint32_t result;
  JOYINFO info;
  friend bool operator==(const ReplayJoystickChange&, const ReplayJoystickChange&) = default;
};

struct ReplayAnswer {
  bool ok;  // false: the prompt was cancelled
  std::string text;
  friend bool operator==(const ReplayAnswer&, const ReplayAnswer&) = default;
};

struct Replay {
  std::string programVersion;  // the version of the program that recorded it
  std::int32_t players = 1;
  std::uint64_t randomState = 0;  // the generator as the game began
  // The sound switches, the volume and the joystick assignments as played;
  // the key bindings are not kept: the polls are.
  GameSettings settings;
  HiScoreTable hiscores;  // the table as the game began
  PerPlayer<std::int32_t> finalScores{};
  PerPlayer<std::int32_t> finalRounds{};
  std::vector<std::uint32_t> clockReads;
  std::vector<ReplayKeyChange> keys;
  std::vector<ReplayJoystickChange> joysticks;
  std::vector<ReplayEvent> events;
  std::vector<ReplayAnswer> answers;
  friend bool operator==(const Replay&, const Replay&) = default;
};

}  // namespace kelvarok
