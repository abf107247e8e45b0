#include "app/dialogs/tkbform.h"

namespace kelvarok {
namespace {

constexpr std::array<const char*, kKeyActions> kLabels{
    "Fire:", "Thrust:", "Left turn:", "Right turn:", "Hyperspace:"};
constexpr std::array<const char*, kKeyActions> kComboNames{"ComboBox1", "ComboBox2", "ComboBox3",
                                                           "ComboBox4", "ComboBox5"};
constexpr std::array<const char*, kKeyActions> kDefaultButtonNames{"Button1", "Button2", "Button3",
                                                                   "Button4", "Button6"};
constexpr int kRowTop = 16;
constexpr int kRowStep = 36;

}  // namespace

std::array<std::uint16_t*, kKeyActions> KeyBindings(GameSettings& settings) {
  return {&settings.FireKey, &settings.ThrustKey, &settings.LeftKey, &settings.RightKey,
          &settings.HyperSpaceKey};
}

TKBForm::TKBForm(GameSettings& settings, QWidget* parent)
    : FixedDialog(parent, "Keyboard Settings", QSize(358, 233), Frame::WithoutCloseBox),
      settings_(settings) {
  // Made in tab order: each list, then its "Default" button; "Ok" last.
  for (std::size_t row = 0; row < kKeyActions; ++row) {
    const int y = kRowTop + static_cast<int>(row) * kRowStep;
    auto* label = new QLabel(kLabels[row], this);
    label->setGeometry(24, y + 4, 80, 17);

    QComboBox* list = new QComboBox(this);
    list->setObjectName(kComboNames[row]);
    list->setGeometry(112, y, 145, 21);
    list->setMaxVisibleItems(16);
    for (const KeyName& key : kKeyNames) list->addItem(key.text);
    list->setCurrentIndex(-1);  // no selection until a binding selects one
    label->setBuddy(list);
    ComboBoxes[row] = list;

    auto* reset = MakeButton("Default", this);
    reset->setObjectName(kDefaultButtonNames[row]);
    reset->setGeometry(272, y - 2, 73, 25);
    const int defaultIndex = kDefaultKeyIndex[row];
    connect(reset, &QPushButton::clicked, list,
            [list, defaultIndex] { list->setCurrentIndex(defaultIndex); });
    DefaultButtons[row] = reset;
  }
  Button5 = MakeButton("Ok", this);
  Button5->setObjectName("Button5");
  Button5->setGeometry(130, 196, 97, 25);
  connect(Button5, &QPushButton::clicked, this, &TKBForm::Button5Click);
  SetCloseButton(Button5);
}

void TKBForm::FormShow() {
  // A binding whose code is not in the table leaves its list as it was.
  const auto bindings = KeyBindings(settings_);
  for (std::size_t index = 0; index < kKeyNames.size(); ++index)
    for (std::size_t action = 0; action < kKeyActions; ++action)
      if (*bindings[action] == kKeyNames[index].code)
        ComboBoxes[action]->setCurrentIndex(static_cast<int>(index));
  Button5->setFocus();
}

void TKBForm::Button5Click() {
  // A list without a selection keeps its binding: no row stands for it.
  const auto bindings = KeyBindings(settings_);
  for (std::size_t action = 0; action < kKeyActions; ++action) {
    const int index = ComboBoxes[action]->currentIndex();
    if (index >= 0) *bindings[action] = kKeyNames[static_cast<std::size_t>(index)].code;
  }
  accept();
}

}  // namespace kelvarok
