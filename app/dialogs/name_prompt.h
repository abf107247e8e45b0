// The centred input dialog that asks a player for a name: caption, prompt,
// an edit box of up to 255 characters, OK and Cancel; below them, for a game
// controller's player, an on-screen keyboard.
#pragma once

#include <QString>

class QWidget;

namespace kelvarok {

inline constexpr int kNamePromptMaxLength = 255;

// Returns true on OK with text set to what was typed; false on Cancel with
// text unchanged. The dialog takes a game controller's presses (it is a
// PadReceiver): the on-screen keyboard, shown from the start with
// withOnScreenKeyboard, else by the first press, types with the d-pad and A,
// deletes with B; Start is OK and Back is Cancel.
bool NamePrompt(QWidget* parent, const QString& caption, const QString& prompt, QString& text,
                bool withOnScreenKeyboard = false);

}  // namespace kelvarok
