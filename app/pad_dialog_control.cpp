#include "app/pad_dialog_control.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <vector>

#include "app/dialogs/fixed_dialog.h"

namespace kelvarok {
namespace {

// The dialog's controls that take the focus, in its tab order. A radio
// group lets only its checked button take the focus by Tab; here every one
// of them does.
std::vector<QWidget*> FocusOrder(QDialog& dialog) {
  std::vector<QWidget*> order;
  QWidget* widget = dialog.nextInFocusChain();
  for (int guard = 0; widget != &dialog && guard < 10000; ++guard) {
    const bool takesFocus = (widget->focusPolicy() & (Qt::TabFocus | Qt::ClickFocus)) != 0;
    if (takesFocus && widget->window() == &dialog && widget->isVisibleTo(&dialog) &&
        widget->isEnabled())
      order.push_back(widget);
    widget = widget->nextInFocusChain();
  }
  return order;
}

void MoveFocus(QDialog& dialog, bool forward) {
  const std::vector<QWidget*> order = FocusOrder(dialog);
  if (order.empty()) return;
  const auto count = static_cast<std::ptrdiff_t>(order.size());
  const auto at = std::ranges::find(order, dialog.focusWidget()) - order.begin();
  std::ptrdiff_t next = forward ? 0 : count - 1;
  if (at < count) next = (at + (forward ? 1 : count - 1)) % count;
  order[static_cast<std::size_t>(next)]->setFocus(forward ? Qt::TabFocusReason
                                                          : Qt::BacktabFocusReason);
}

// Steps a list by one item; wraps round only when asked.
void Step(QComboBox& list, int by, bool wrap) {
  const int count = list.count();
  if (count == 0) return;
  int index = list.currentIndex() + by;
  if (wrap)
    index = (index % count + count) % count;
  else
    index = std::clamp(index, 0, count - 1);
  list.setCurrentIndex(index);
}

QAbstractButton* WayOut(QDialog& dialog) {
  if (const auto* fixed = dynamic_cast<const FixedDialog*>(&dialog); fixed && fixed->CloseButton())
    return fixed->CloseButton();
  if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
    if (box->defaultButton() != nullptr) return box->defaultButton();
    if (box->buttons().size() == 1) return box->buttons().front();
    return box->escapeButton();
  }
  for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
    if (button->isDefault() && button->isVisible()) return button;
  }
  return nullptr;
}

bool Sideways(QDialog& dialog, QWidget* focused, bool right) {
  if (auto* list = qobject_cast<QComboBox*>(focused)) {
    Step(*list, right ? 1 : -1, false);
  } else if (auto* slider = qobject_cast<QAbstractSlider*>(focused)) {
    slider->triggerAction(right ? QAbstractSlider::SliderSingleStepAdd
                                : QAbstractSlider::SliderSingleStepSub);
  } else {
    MoveFocus(dialog, right);
  }
  return true;
}

bool Choose(QWidget* focused) {
  if (auto* list = qobject_cast<QComboBox*>(focused)) {
    Step(*list, 1, true);
    return true;
  }
  auto* button = qobject_cast<QAbstractButton*>(focused);
  if (button == nullptr || !button->isEnabled()) return false;
  button->click();
  return true;
}

}  // namespace

bool PadPressInDialog(QDialog& dialog, PadButton button) {
  QWidget* focused = dialog.focusWidget();
  switch (button) {
    case PadButton::Up:
    case PadButton::Down:
      MoveFocus(dialog, button == PadButton::Down);
      return true;
    case PadButton::Left:
    case PadButton::Right:
      return Sideways(dialog, focused, button == PadButton::Right);
    case PadButton::A:
      return Choose(focused);
    case PadButton::B:
      if (QAbstractButton* out = WayOut(dialog)) {
        out->click();
        return true;
      }
      return false;
    default:
      return false;
  }
}

}  // namespace kelvarok
