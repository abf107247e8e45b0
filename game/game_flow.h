// The game flow: one- and two-player sessions run inside the menu command that
// starts them, the lives and 40 ms frames of the round loop, pause and focus,
// the round transitions, the bonus round, the status bar, the field messages
// and the high-score entry. Everything reaches the window through FlowHost.
#pragma once

#include <string>

#include "game/flow_host.h"
#include "game/game_world.h"
#include "game/hiscores.h"

namespace kelvarok {

class GameFlow {
 public:
  // baseCaption is the main window's designed caption ("Kelvarok 2.10").
  GameFlow(GameWorld& world, FlowHost& host, HiScoreTable& hiscores, std::string baseCaption);

  // Menu commands. The start commands return when the session is over.
  void N1Playerstart1Click();
  void N2Playerstart1Click();
  void Pause1Click();
  void Quitgame1Click();
  void Highscores1Click();
  void Exit1Click();
  // The flow's part of any attempt to close the main window: the pause is
  // lifted and a running game ends after its current frame; no dialog of that
  // game appears any more.
  void FormCloseQuery();
  // The application gains or loses the input focus.
  void AppOnActivate();
  void AppOnDeactivate();

  bool GameRunning() const { return running_; }
  const std::string& BaseCaption() const { return baseCaption_; }

 private:
  GameWorld& world_;
  FlowHost& host_;
  HiScoreTable& hiscores_;
  const std::string baseCaption_;
  bool running_ = false;
  bool closing_ = false;
};

}  // namespace kelvarok
