#include "game/replay_game.h"

namespace kelvarok {

ReplayGame::ReplayGame(const SpriteSet& sprites, Replay replay, FlowHost& output,
                       const std::string& baseCaption)
    : replay_(std::move(replay)),
      player_(replay_, output),
      world_(sprites, replay_.settings, player_, 0),
      hiscores_(replay_.hiscores),
      flow_(world_, player_, hiscores_, baseCaption) {
  world_.random.Restore(replay_.randomState);
  world_.state.FireLatch = replay_.fireLatch;
  player_.Attach(flow_);
  flow_.SetInputListener(&player_);
}

void ReplayGame::Play() {
  if (replay_.players == 2) {
    flow_.N2Playerstart1Click();
  } else {
    flow_.N1Playerstart1Click();
  }
  player_.CheckPlayedWhole();
}

}  // namespace kelvarok
