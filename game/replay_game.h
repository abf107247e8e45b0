// A recorded game set up to be played again: a world, a high-score table and
// a flow of its own, on a player that answers them from the recording and
// shows the game on the output window.
#pragma once

#include <string>

#include "game/game_flow.h"
#include "game/game_world.h"
#include "game/replay.h"
#include "game/replay_player.h"
#include "game/sprite_set.h"

namespace kelvarok {

class ReplayGame {
 public:
  ReplayGame(const SpriteSet& sprites, Replay replay, FlowHost& output,
             const std::string& baseCaption);

  // Plays the game through. Throws ReplayOutOfStep when the recording does not
  // fit it, ReplayStopped when the watcher stopped it.
  void Play();

  const Replay& replay() const { return replay_; }
  ReplayPlayer& player() { return player_; }
  GameWorld& world() { return world_; }
  GameFlow& flow() { return flow_; }
  HiScoreTable& hiscores() { return hiscores_; }

 private:
  const Replay replay_;
  ReplayPlayer player_;
  GameWorld world_;
  HiScoreTable hiscores_;
  GameFlow flow_;
};

}  // namespace kelvarok
