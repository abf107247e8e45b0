// What a game controller's buttons mean to the windows of the program: a
// window that takes the buttons itself while it is the active one.
#pragma once

#include "platform/pad_input.h"

namespace kelvarok {

class PadReceiver {
 public:
  virtual ~PadReceiver() = default;
  // Called on each press of a button (and each repeat of a held direction)
  // while this window is the active one; returns whether the window used it.
  // A press it does not use gets the controller's general handling.
  virtual bool PadPress(PadButton button) = 0;
};

}  // namespace kelvarok
