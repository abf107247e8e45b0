#include "app/main_menu.h"

namespace kelvarok {
namespace {

QAction* AddItem(QMenu& menu, const char* name, const char* caption, QKeySequence shortcut,
                 bool enabled) {
  QAction* action = menu.addAction(caption);
  action->setObjectName(name);
  action->setShortcut(shortcut);
  action->setEnabled(enabled);
  return action;
}

}  // namespace

QAction* MainMenu1::Item(MenuItem item) const {
  switch (item) {
    case MenuItem::N1Playerstart1:
      return N1Playerstart1;
    case MenuItem::N2Playerstart1:
      return N2Playerstart1;
    case MenuItem::Pause1:
      return Pause1;
    case MenuItem::Quitgame1:
      return Quitgame1;
    case MenuItem::Highscores1:
      return Highscores1;
    case MenuItem::Exit1:
      return Exit1;
  }
  return nullptr;
}

MainMenu1 BuildMainMenu(QMenuBar& bar) {
  MainMenu1 m;
  m.Game = bar.addMenu("&Game");
  m.N1Playerstart1 = AddItem(*m.Game, "N1Playerstart1", "&1-Player start", Qt::Key_F2, true);
  m.N2Playerstart1 = AddItem(*m.Game, "N2Playerstart1", "&2-Player start", Qt::Key_F3, true);
  m.Pause1 = AddItem(*m.Game, "Pause1", "&Pause", Qt::Key_F4, false);
  m.Pause1->setCheckable(true);
  m.Quitgame1 = AddItem(*m.Game, "Quitgame1", "&Quit game", Qt::CTRL | Qt::Key_Q, false);
  m.Highscores1 = AddItem(*m.Game, "Highscores1", "&High scores...", {}, true);
  // The game's own commands end with the high scores; watching a recorded game
  // joins them, so that Exit stays last, below the separator.
  m.WatchLastGame = AddItem(*m.Game, "WatchLastGame", "&Watch last game", {}, false);
  m.Game->addSeparator()->setObjectName("N1");
  m.Exit1 = AddItem(*m.Game, "Exit1", "E&xit", {}, true);

  m.Options = bar.addMenu("&Options");
  m.Keyboard1 = AddItem(*m.Options, "Keyboard1", "&Keyboard...", {}, true);
  m.Joystick1 = AddItem(*m.Options, "Joystick1", "&Joystick...", {}, true);
  m.Sound1 = AddItem(*m.Options, "Sound1", "&Sound...", {}, true);
  m.Defaultwindowsize1 =
      AddItem(*m.Options, "Defaultwindowsize1", "&Default window size", {}, true);

  m.Help = bar.addMenu("&Help");
  m.Contents1 = AddItem(*m.Help, "Contents1", "&Contents", Qt::Key_F1, true);
  m.About1 = AddItem(*m.Help, "About1", "&About...", {}, true);
  return m;
}

}  // namespace kelvarok
