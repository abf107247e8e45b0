#include "app/dialogs/name_prompt.h"

#include <QInputDialog>
#include <QLineEdit>

#include "app/dialogs/fixed_dialog.h"

namespace kelvarok {

bool NamePrompt(QWidget* parent, const QString& caption, const QString& prompt, QString& text,
                bool /*withOnScreenKeyboard*/) {
  QInputDialog dialog(parent);
  dialog.setWindowTitle(caption);
  dialog.setLabelText(prompt);
  dialog.setTextValue(text);
  dialog.setFont(DialogFont());
  dialog.setOkButtonText("OK");
  dialog.setCancelButtonText("Cancel");
  dialog.setObjectName("NamePrompt");
  if (auto* edit = dialog.findChild<QLineEdit*>()) edit->setMaxLength(kNamePromptMaxLength);
  dialog.adjustSize();
  CentreOnScreen(dialog);
  if (dialog.exec() != QDialog::Accepted) return false;
  text = dialog.textValue();
  return true;
}

}  // namespace kelvarok
