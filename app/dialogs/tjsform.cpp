#include "app/dialogs/tjsform.h"

#include <QRadioButton>
#include <algorithm>

namespace kelvarok {

JoystickChoice::JoystickChoice(const QString& caption, QWidget* parent)
    : QGroupBox(caption, parent) {
  int id = 0;
  for (const char* text : {"None", "Joystick #1", "Joystick #2"}) {
    auto* button = new QRadioButton(text, this);
    button->setGeometry(12, 18 + id * 22, 170, 20);
    buttons_.addButton(button, id++);
  }
}

void JoystickChoice::Select(std::int32_t value) {
  if (value >= 0) {
    buttons_.button(std::min(value, 2))->setChecked(true);
    return;
  }
  // An exclusive group cannot be emptied by unchecking its member.
  buttons_.setExclusive(false);
  for (QAbstractButton* button : buttons_.buttons()) button->setChecked(false);
  buttons_.setExclusive(true);
}

TJSForm::TJSForm(GameSettings& settings, QWidget* parent)
    : FixedDialog(parent, "Joystick Settings", QSize(232, 253), Frame::WithoutCloseBox),
      settings_(settings) {
  Player1 = new JoystickChoice("Player 1", this);
  Player1->setObjectName("Player1");
  Player1->setGeometry(16, 16, 201, 89);
  Player2 = new JoystickChoice("Player 2", this);
  Player2->setObjectName("Player2");
  Player2->setGeometry(16, 113, 201, 89);
  Button1 = MakeButton("Ok", this);
  Button1->setObjectName("Button1");
  Button1->setGeometry(68, 214, 97, 25);
  connect(Button1, &QPushButton::clicked, this, &TJSForm::Button1Click);
  SetCloseButton(Button1);
}

void TJSForm::FormShow() {
  Player1->Select(settings_.JoyStick1);
  Player2->Select(settings_.JoyStick2);
  Button1->setFocus();
}

void TJSForm::Button1Click() {
  // No choice stores -1, which the game reads as no joystick.
  settings_.JoyStick1 = Player1->Selected();
  settings_.JoyStick2 = Player2->Selected();
  accept();
}

}  // namespace kelvarok
