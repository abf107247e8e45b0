// A keyboard drawn in a dialog for a game controller's player: the d-pad
// moves a highlighted key, A types it into a line edit, B deletes. It never
// takes Qt's focus, so the line edit keeps the real keyboard's typing.
#pragma once

#include <QWidget>

#include "app/dialogs/on_screen_keys.h"
#include "app/pad_receiver.h"

class QLineEdit;

namespace kelvarok {

class OnScreenKeyboard : public QWidget {
  Q_OBJECT

 public:
  // Types into edit, never beyond maxCharacters (nor the edit's own limit).
  OnScreenKeyboard(QLineEdit& edit, int maxCharacters, QWidget* parent);

  // The d-pad moves the highlight; A presses the highlighted key; B deletes
  // the last character. The keyboard edits the end of the text: a selection
  // is dropped first. Returns whether the button was one of these.
  bool Press(PadButton button);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Type(QChar character);
  void DeleteLast();
  QSize CellSize() const;

  QLineEdit& edit_;
  int maxCharacters_;
  OnScreenKeys keys_;
};

}  // namespace kelvarok
