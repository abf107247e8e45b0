// The frame the game's dialogs share: a fixed client size in absolute pixels,
// centred on the screen when first shown and shown again where it last was,
// the dialog font, buttons that are never a default button by taking the
// focus, and (for the option dialogs) no close box, so that only their "Ok"
// button closes them (a window manager's close presses it).
#pragma once

#include <QDialog>
#include <QFont>
#include <QPushButton>
#include <optional>

namespace kelvarok {

// "MS Sans Serif" 8 pt: a 13-pixel line, here in Liberation Sans.
QFont DialogFont();

// A font of the given family (with Qt's substitute where it is missing),
// pixel height and weight.
QFont PixelFont(const QString& family, int pixels, bool bold = false);

// Moves a top-level widget to the centre of the screen it is on.
void CentreOnScreen(QWidget& window);
// A top-level widget's frame rectangle moved inside the available area of
// the screen the widget is on, the least distance there is (its top left
// corner first).
QRect WithinScreen(const QWidget& window, QRect frame);
// Moves a top-level widget, frame and all, within the screen so.
void KeepOnScreen(QWidget& window);
// Moves a top-level widget so that its centre is the centre of another one.
void CentreOver(QWidget& window, const QWidget& anchor);

// A push button that never becomes a dialog's default button by taking the
// focus; a dialog's default button is made so with setDefault.
QPushButton* MakeButton(const QString& text, QWidget* parent);

class FixedDialog : public QDialog {
 public:
  enum class Frame { WithCloseBox, WithoutCloseBox };
  FixedDialog(QWidget* parent, const QString& caption, QSize client, Frame frame);

  // Escape does nothing when the dialog has no close box.
  void reject() override;
  // The button a close presses, or nullptr.
  QPushButton* CloseButton() const { return closeButton_; }

 protected:
  // The button a close from the window manager presses in a dialog without
  // a close box (a window manager may offer a close all the same).
  void SetCloseButton(QPushButton* button) { closeButton_ = button; }
  // The dialog's show handler: runs each time the program shows the dialog,
  // never when a window manager maps it again (after a minimise), so that
  // the choices the player has made are kept.
  virtual void FormShow() {}

  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // Enter presses the button that has the focus; elsewhere only the default
  // button, where the dialog has one.
  void keyPressEvent(QKeyEvent* event) override;
  // The dialog has no minimise box; a window manager that minimises it all
  // the same (and the main window with it) gets it back at once.
  void changeEvent(QEvent* event) override;

 private:
  Frame frame_;
  QPushButton* closeButton_ = nullptr;
  // Where the dialog was when it was last hidden.
  std::optional<QPoint> lastPosition_;
};

}  // namespace kelvarok
