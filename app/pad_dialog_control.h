// A game controller in a modal dialog or message box: the d-pad moves the
// focus, a presses or changes the focused control, b leaves by the dialog's
// own way out.
#pragma once

#include <QDialog>

#include "platform/pad_input.h"

namespace kelvarok {

// Applies one press to the dialog; returns whether it did anything.
// - Up and Down move the focus back and on through the controls in their
//   tab order, every button of a radio group too (after the last, the
//   first).
// - Left and Right step the focused list or slider, and move the focus
//   where the focused control has no steps.
// - A clicks the focused button or box, or steps the focused list to its
//   next item (after the last, the first).
// - B clicks the dialog's way out: the button a close presses, else a
//   message box's default or only button, else the default button.
bool PadPressInDialog(QDialog& dialog, PadButton button);

}  // namespace kelvarok
