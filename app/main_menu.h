// MainMenu1: the Game, Options and Help menus with their captions, access
// letters and shortcuts. A disabled item's shortcut does nothing.
#pragma once

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "game/flow_host.h"

namespace kelvarok {

struct MainMenu1 {
  QMenu* Game = nullptr;
  QMenu* Options = nullptr;
  QMenu* Help = nullptr;
  QAction* N1Playerstart1 = nullptr;
  QAction* N2Playerstart1 = nullptr;
  QAction* Pause1 = nullptr;  // checkable: checked while the game is paused
  QAction* Quitgame1 = nullptr;
  QAction* Highscores1 = nullptr;
  QAction* Exit1 = nullptr;
  QAction* WatchLastGame = nullptr;  // disabled while a game runs or none was recorded
  QAction* Keyboard1 = nullptr;
  QAction* Joystick1 = nullptr;
  QAction* Sound1 = nullptr;
  QAction* Defaultwindowsize1 = nullptr;
  QAction* Contents1 = nullptr;
  QAction* About1 = nullptr;

  QAction* Item(MenuItem item) const;
};

// Builds the menus into bar, every item in its state at start.
MainMenu1 BuildMainMenu(QMenuBar& bar);

}  // namespace kelvarok
