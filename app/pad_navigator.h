// The whole program with a game controller: reads every controller's
// changes, makes gestures of them and acts on them in the window in front.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <cstdint>
#include <map>
#include <set>
#include <utility>

#include "platform/pad_gestures.h"
#include "platform/pad_input.h"

class QMenu;
class QWidget;

namespace kelvarok {

class TForm1;

// A press goes, in this order, to
// - the active window, when it takes presses itself (a PadReceiver);
// - an open popup menu: directions as the arrow keys, a as Return, b and
//   guide close it;
// - a modal dialog or message box (PadPressInDialog);
// - the main window: guide opens the Game menu in any state; with no game
//   (nor replay) start, back, x and y are "1-Player start", "2-Player
//   start", "High scores..." and "Watch last game"; in a game or a replay
//   start is "Pause" and back held a second "Quit game". a and b do nothing
//   there: in a game they fly the ship through joyGetPos.
// At the turn prompt ("Press Enter") a or start going down holds Enter in
// the main window's key table until it comes up, and then presses nothing
// else.
//
// Presses count only while the program has the focus. Each is acted on
// from the event loop after the look that read it, so that a command that
// runs a game or a dialog in a loop of its own does not hold up the next
// look.
class PadNavigator final : public QObject {
 public:
  // How often the controllers are read: often while one is connected,
  // seldom (to notice one being plugged in) while none is.
  static constexpr int kConnectedLookMs = 16;
  static constexpr int kIdleLookMs = 500;

  PadNavigator(TForm1& window, PadInputSource& source);

  // Reads the controllers now and queues what they say; a timer calls it.
  void Look();

 private:
  void Act(const PadGesture& gesture);
  void Press(const PadGesture& gesture);
  static void PressInMenu(QMenu& menu, PadButton button);
  void PressInMainWindow(const PadGesture& gesture);
  void OpenGameMenu();
  bool AtTurnPrompt() const;

  TForm1& window_;
  PadInputSource& source_;
  PadGestures gestures_;
  QTimer timer_;
  // The buttons (of which controller) that hold Enter down.
  std::set<std::pair<std::int32_t, PadButton>> holdingEnter_;
  // Where each held direction (of which controller) was first pressed.
  std::map<std::pair<std::int32_t, PadButton>, QPointer<QWidget>> directionPressedIn_;
};

}  // namespace kelvarok
