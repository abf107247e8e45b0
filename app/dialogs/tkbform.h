// "Keyboard Settings": the five key bindings, each chosen from the 66 keys
// of the key-name table.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <array>

#include "app/dialogs/fixed_dialog.h"
#include "app/key_names.h"
#include "game/game_settings.h"

namespace kelvarok {

class TKBForm final : public FixedDialog {
 public:
  TKBForm(GameSettings& settings, QWidget* parent = nullptr);

  // The list of each action, Fire first; ComboBox1 to ComboBox5.
  std::array<QComboBox*, kKeyActions> ComboBoxes{};
  // The "Default" button of each row: Button1 to Button4, then Button6.
  std::array<QPushButton*, kKeyActions> DefaultButtons{};
  QPushButton* Button5 = nullptr;  // "Ok"

 protected:
  void FormShow() override;

 private:
  void Button5Click();

  GameSettings& settings_;
};

// The binding of each action, in the dialog's row order.
std::array<std::uint16_t*, kKeyActions> KeyBindings(GameSettings& settings);

}  // namespace kelvarok
