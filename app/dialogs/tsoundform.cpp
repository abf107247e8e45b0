#include "app/dialogs/tsoundform.h"

#include <QSignalBlocker>

namespace kelvarok {
namespace {

struct SoundRow {
  const char* box;
  const char* caption;
  const char* button;
  Effect effect;
};
constexpr std::array<SoundRow, TSoundForm::kRows> kSoundRows{{
    {"PhaserSounds", "Phaser sounds", "Button2", Effect::Missile},
    {"CrashSounds", "Crash sounds", "Button3", Effect::Explosion},
    {"ThrustSounds", "Thrust sounds", "Button4", Effect::Thrust},
    {"HyperSounds", "Hyperspace sounds", "Button5", Effect::Hyperspace},
    {"BonusSounds", "Bonus sounds", "Button6", Effect::Bonus},
}};

}  // namespace

TSoundForm::TSoundForm(GameSettings& settings, std::function<void(Effect)> playEffect,
                       std::function<void()> applyVolume, QWidget* parent)
    : FixedDialog(parent, "Sound Effects", QSize(238, 315), Frame::WithoutCloseBox),
      settings_(settings),
      playEffect_(std::move(playEffect)),
      applyVolume_(std::move(applyVolume)) {
  // Made in tab order: each box before its "Test" button, the slider, "Ok".
  for (std::size_t row = 0; row < kSoundRows.size(); ++row) {
    const int y = 16 + static_cast<int>(row) * 28;
    auto* box = new QCheckBox(kSoundRows[row].caption, this);
    box->setObjectName(kSoundRows[row].box);
    box->setGeometry(16, y, 150, 21);
    CheckBoxes[row] = box;
    auto* test = MakeButton("Test", this);
    test->setObjectName(kSoundRows[row].button);
    test->setGeometry(171, y - 2, 51, 25);
    const Effect effect = kSoundRows[row].effect;
    connect(test, &QPushButton::clicked, this, [this, effect] { playEffect_(effect); });
    TestButtons[row] = test;
  }
  Panel1 = new QLabel("Volume: 50%", this);
  Panel1->setObjectName("Panel1");
  Panel1->setAlignment(Qt::AlignCenter);
  Panel1->setGeometry(26, 162, 185, 17);
  TrackBar1 = new QSlider(Qt::Horizontal, this);
  TrackBar1->setObjectName("TrackBar1");
  TrackBar1->setGeometry(18, 184, 201, 25);
  TrackBar1->setRange(0, 10);
  TrackBar1->setSingleStep(1);
  TrackBar1->setPageStep(1);
  TrackBar1->setTickPosition(QSlider::TicksBelow);
  TrackBar1->setTickInterval(1);
  TrackBar1->setValue(5);
  connect(TrackBar1, &QSlider::valueChanged, this, &TSoundForm::TrackBar1Change);
  Button1 = MakeButton("Ok", this);
  Button1->setObjectName("Button1");
  Button1->setGeometry(70, 274, 97, 25);
  connect(Button1, &QPushButton::clicked, this, &TSoundForm::Button1Click);
  SetCloseButton(Button1);
}

bool& TSoundForm::Flag(std::size_t row) {
  return settings_.*SoundSwitch(kSoundRows[row].effect);
}

void TSoundForm::FormShow() {
  for (std::size_t row = 0; row < kSoundRows.size(); ++row) CheckBoxes[row]->setChecked(Flag(row));
  {
    // The slider keeps the position within 0..10; the change handler runs
    // exactly once below, whether or not the position moved.
    const QSignalBlocker quiet(TrackBar1);
    TrackBar1->setValue(settings_.SoundVolume / 10);
  }
  TrackBar1Change();
  Button1->setFocus();
}

void TSoundForm::TrackBar1Change() {
  const int percent = TrackBar1->value() * 10;
  Panel1->setText(QString("Volume: %1%").arg(percent));
  settings_.SoundVolume = percent;
  applyVolume_();
}

void TSoundForm::Button1Click() {
  for (std::size_t row = 0; row < kSoundRows.size(); ++row)
    Flag(row) = CheckBoxes[row]->isChecked();
  accept();
}

}  // namespace kelvarok
