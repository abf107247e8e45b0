#include "app/dialogs/fixed_dialog.h"

#include <QGuiApplication>
#include <QScreen>

namespace kelvarok {

QFont DialogFont() {
  return PixelFont("Liberation Sans", 11);
}

QFont PixelFont(const QString& family, int pixels, bool bold) {
  QFont font(family);
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

void CentreOnScreen(QWidget& window) {
  const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  QRect frame = window.frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  window.move(frame.topLeft());
}

FixedDialog::FixedDialog(QWidget* parent, const QString& caption, QSize client, Frame frame)
    : QDialog(parent), frame_(frame) {
  Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (frame == Frame::WithCloseBox) flags |= Qt::WindowCloseButtonHint;
  setWindowFlags(flags);
  setWindowTitle(caption);
  setFont(DialogFont());
  setFixedSize(client);
}

void FixedDialog::reject() {
  if (frame_ == Frame::WithCloseBox) QDialog::reject();
}

void FixedDialog::showEvent(QShowEvent* event) {
  CentreOnScreen(*this);
  QDialog::showEvent(event);
}

}  // namespace kelvarok
