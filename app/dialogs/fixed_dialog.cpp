#include "app/dialogs/fixed_dialog.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <algorithm>

#include "app/dialogs/title_bar_only.h"

namespace kelvarok {
namespace {

bool IsEnter(const QKeyEvent& event) {
  return (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) &&
         (event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

}  // namespace

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

QRect WithinScreen(const QWidget& window, QRect frame) {
  const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return frame;
  const QRect area = screen->availableGeometry();
  frame.moveLeft(std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width())));
  frame.moveTop(std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height())));
  return frame;
}

void KeepOnScreen(QWidget& window) {
  const QRect frame = window.frameGeometry();
  const QRect kept = WithinScreen(window, frame);
  if (kept != frame) window.move(kept.topLeft());
}

void CentreOver(QWidget& window, const QWidget& anchor) {
  // A window's frame is unknown until the window manager has framed it; it
  // gets the same frame as the anchor.
  const QPoint frameOffset = anchor.geometry().topLeft() - anchor.frameGeometry().topLeft();
  QRect client = window.geometry();
  client.moveCenter(anchor.geometry().center());
  window.move(client.topLeft() - frameOffset);
}

QPushButton* MakeButton(const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setAutoDefault(false);
  return button;
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
  // A spontaneous show is the window system's: the window manager maps the
  // dialog again after a minimise.
  if (!event->spontaneous()) {
    if (frame_ == Frame::WithoutCloseBox) AskForTitleBarOnly(*this);
    if (lastPosition_)
      move(*lastPosition_);
    else
      CentreOnScreen(*this);
    FormShow();
  }
  QDialog::showEvent(event);
}

void FixedDialog::hideEvent(QHideEvent* event) {
  if (!event->spontaneous()) lastPosition_ = pos();
  QDialog::hideEvent(event);
}

void FixedDialog::closeEvent(QCloseEvent* event) {
  if (event->spontaneous() && closeButton_ != nullptr) {
    event->ignore();
    closeButton_->click();
    return;
  }
  QDialog::closeEvent(event);
}

void FixedDialog::keyPressEvent(QKeyEvent* event) {
  auto* focused = qobject_cast<QPushButton*>(focusWidget());
  if (IsEnter(*event) && focused != nullptr && focused->isEnabled()) {
    focused->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

void FixedDialog::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && isMinimized()) showNormal();
}

}  // namespace kelvarok
