// The centred input dialog that asks a player for a name: caption, prompt,
// an edit box of up to 255 characters, OK and Cancel.
#pragma once

#include <QString>

class QWidget;

namespace kelvarok {

inline constexpr int kNamePromptMaxLength = 255;

// Returns true on OK with text set to what was typed; false on Cancel with
// text unchanged. withOnScreenKeyboard: a game controller is connected.
bool NamePrompt(QWidget* parent, const QString& caption, const QString& prompt, QString& text,
                bool withOnScreenKeyboard = false);

}  // namespace kelvarok
