// "Joystick Settings": which joystick, if any, each player steers with.
#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>

#include "app/dialogs/fixed_dialog.h"
#include "game/game_settings.h"

namespace kelvarok {

// A radio group of "None", "Joystick #1", "Joystick #2" (choice 0, 1, 2).
class JoystickChoice final : public QGroupBox {
 public:
  JoystickChoice(const QString& caption, QWidget* parent);
  // A value above 2 shows "Joystick #2"; one below 0 shows no choice.
  void Select(std::int32_t value);
  // The chosen index, or -1 when none is chosen.
  std::int32_t Selected() const { return buttons_.checkedId(); }
  QAbstractButton* Button(int id) const { return buttons_.button(id); }

 private:
  QButtonGroup buttons_;
};

class TJSForm final : public FixedDialog {
 public:
  explicit TJSForm(GameSettings& settings, QWidget* parent = nullptr);

  JoystickChoice* Player1 = nullptr;
  JoystickChoice* Player2 = nullptr;
  QPushButton* Button1 = nullptr;  // "Ok"

 protected:
  void FormShow() override;

 private:
  void Button1Click();

  GameSettings& settings_;
};

}  // namespace kelvarok
