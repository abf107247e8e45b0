#include "app/dialogs/name_prompt.h"

#include <QInputDialog>
#include <QLayout>
#include <QLineEdit>

#include "app/dialogs/fixed_dialog.h"
#include "app/dialogs/on_screen_keyboard.h"
#include "app/pad_receiver.h"
#include "game/hiscores.h"

namespace kelvarok {
namespace {

class NamePromptDialog final : public QInputDialog, public PadReceiver {
 public:
  using QInputDialog::QInputDialog;

  // Puts the keyboard under the prompt's own controls, typing into its edit
  // box; a name in the table keeps its first kMaxNameLength characters, so
  // the keyboard types no more than those.
  void AddKeyboard(QLineEdit& edit, bool shown) {
    edit_ = &edit;
    keyboard_ = new OnScreenKeyboard(edit, static_cast<int>(kMaxNameLength), this);
    layout()->addWidget(keyboard_);
    layout()->setAlignment(keyboard_, Qt::AlignHCenter);
    keyboard_->setVisible(shown);
  }

  // The dialog selects its text as it shows; the keyboard edits the end of
  // the text, so no selection is shown with the keyboard.
  void setVisible(bool visible) override {
    QInputDialog::setVisible(visible);
    if (visible && keyboard_ != nullptr && keyboard_->isVisible()) edit_->end(false);
  }

  bool PadPress(PadButton button) override {
    if (keyboard_ == nullptr) return false;
    if (keyboard_->isHidden()) {
      ShowKeyboard();
      return true;
    }
    switch (button) {
      case PadButton::Start:
        accept();
        return true;
      case PadButton::Back:
        reject();
        return true;
      default:
        return keyboard_->Press(button);
    }
  }

 private:
  // The dialog grows to hold the keyboard and is centred again, whole on
  // the screen.
  void ShowKeyboard() {
    keyboard_->show();
    edit_->end(false);
    layout()->activate();
    adjustSize();
    CentreOnScreen(*this);
    KeepOnScreen(*this);
  }

  QLineEdit* edit_ = nullptr;
  OnScreenKeyboard* keyboard_ = nullptr;
};

}  // namespace

bool NamePrompt(QWidget* parent, const QString& caption, const QString& prompt, QString& text,
                bool withOnScreenKeyboard) {
  NamePromptDialog dialog(parent);
  dialog.setWindowTitle(caption);
  dialog.setLabelText(prompt);
  dialog.setTextValue(text);
  dialog.setFont(DialogFont());
  dialog.setOkButtonText("OK");
  dialog.setCancelButtonText("Cancel");
  dialog.setObjectName("NamePrompt");
  if (auto* edit = dialog.findChild<QLineEdit*>()) {
    edit->setMaxLength(kNamePromptMaxLength);
    dialog.AddKeyboard(*edit, withOnScreenKeyboard);
  }
  dialog.adjustSize();
  CentreOnScreen(dialog);
  if (dialog.exec() != QDialog::Accepted) return false;
  text = dialog.textValue();
  return true;
}

}  // namespace kelvarok
