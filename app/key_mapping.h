// Qt key events to Windows virtual-key codes, for the GetAsyncKeyState table
// the game polls.
#pragma once

#include <QHash>
#include <Qt>

#include "platform/key_state.h"

class QKeyEvent;

namespace kelvarok {

// The virtual-key code of a Qt key, or 0 for a key the game cannot bind or
// see. Keypad digits and operators (Qt::KeypadModifier) give the keypad
// codes 96..111; either Shift gives 16 and either Ctrl 17.
int VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers);

// Feeds a KeyTable from key events. Auto-repeats are ignored. A release goes
// to the code its press gave (remembered by the hardware scan code), so a key
// whose Qt meaning changes with Shift while held is still released.
class KeyFeeder {
 public:
  explicit KeyFeeder(KeyTable& keys) : keys_(keys) {}

  // Returns true when the event was a key the table knows.
  bool Press(const QKeyEvent& event);
  bool Release(const QKeyEvent& event);
  // Every key up: the window lost the focus.
  void ReleaseAll();

 private:
  KeyTable& keys_;
  QHash<quint32, int> pressedByScanCode_;
};

}  // namespace kelvarok
