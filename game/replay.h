// A recorded game: everything its outcome depends on. At the start the world
// as the game found it; then what the game read as it ran: each frame's
// controls, the commands and focus changes at the waits where they took
// effect, and the names typed at the prompts; and hashes of the state that
// tell whether a playback is still the same game.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/game_settings.h"
#include "game/game_state.h"
#include "game/hiscores.h"

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

// The flow's waits are counted from 1 as they begin (FlowWait); an input takes
// effect in the wait during which it arrived.
struct ReplayEvent {
  std::uint32_t wait;
  FlowInput input;
  friend bool operator==(const ReplayEvent&, const ReplayEvent&) = default;
};

// Frames are counted from 1 as they begin. The controls are kept as their
// changes: from this frame on the game read these bits (ControlBits); before
// the first change it read none.
struct ReplayControls {
  std::uint32_t frame;
  std::uint8_t bits;
  friend bool operator==(const ReplayControls&, const ReplayControls&) = default;
};

struct ReplayAnswer {
  bool ok;  // false: the prompt was cancelled
  std::string text;
  friend bool operator==(const ReplayAnswer&, const ReplayAnswer&) = default;
};

// A checkpoint is taken as a frame begins after every kCheckpointFrames
// frames played (2 s of play).
constexpr std::uint32_t kCheckpointFrames = 50;
constexpr bool CheckpointDue(std::uint32_t framesPlayed) {
  return framesPlayed > 0 && framesPlayed % kCheckpointFrames == 0;
}
// The checkpoints of a game of this many frames.
constexpr std::uint32_t CheckpointsIn(std::uint32_t frames) {
  return frames == 0 ? 0 : (frames - 1) / kCheckpointFrames;
}

struct Replay {
  std::uint32_t rulesRevision = 0;
  std::string programVersion;  // the version of the program that recorded it
  std::int32_t players = 1;
  // --- The world as the game found it ---------------------------------------
  std::uint64_t randomState = 0;
  // The sound switches and volume, for the sounds of a playback; the keys and
  // joystick choices do not matter: the controls are kept as the frames read
  // them.
  GameSettings settings;
  HiScoreTable hiscores;
  bool fireLatch = true;  // the fire button as the last game left it
  // --- What the game read -----------------------------------------------------
  std::vector<ReplayControls> controls;
  std::vector<ReplayEvent> events;
  std::vector<ReplayAnswer> answers;
  // --- What became of it ------------------------------------------------------
  std::uint32_t frames = 0;                // frames played
  std::vector<std::uint32_t> checkpoints;  // CheckpointHash after every kCheckpointFrames
  std::uint64_t finalHash = 0;             // FinalHash as the game was over
  friend bool operator==(const Replay&, const Replay&) = default;
};

}  // namespace kelvarok
