// What a game controller's buttons mean to the windows of the program: the
// buttons the program acts on, and a window that takes them itself while it
// is the active one.
#pragma once

namespace kelvarok {

// The left stick counts as the d-pad (Up, Down, Left, Right); a held
// direction repeats.
enum class PadButton { A, B, X, Y, Back, Guide, Start, Up, Down, Left, Right };

class PadReceiver {
 public:
  virtual ~PadReceiver() = default;
  // Called on each press of a button (and each repeat of a held direction)
  // while this window is the active one; returns whether the window used it.
  // A press it does not use gets the controller's general handling.
  virtual bool PadPress(PadButton button) = 0;
};

}  // namespace kelvarok
