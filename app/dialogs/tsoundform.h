// "Sound Effects": the five effect switches with their "Test" buttons and
// the volume slider.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <array>
#include <functional>

#include "app/dialogs/fixed_dialog.h"
#include "game/game_settings.h"

namespace kelvarok {

class TSoundForm final : public FixedDialog {
 public:
  // playEffect is the main window's SoundEffect; applyVolume its
  // ApplySoundVolume, which reads SoundVolume.
  TSoundForm(GameSettings& settings, std::function<void(Effect)> playEffect,
             std::function<void()> applyVolume, QWidget* parent = nullptr);

  static constexpr int kRows = 5;
  // Rows top to bottom: PhaserSounds, CrashSounds, ThrustSounds, HyperSounds,
  // BonusSounds, each with its "Test" button (Button2 to Button6).
  std::array<QCheckBox*, kRows> CheckBoxes{};
  std::array<QPushButton*, kRows> TestButtons{};
  QLabel* Panel1 = nullptr;  // the volume label
  QSlider* TrackBar1 = nullptr;
  QPushButton* Button1 = nullptr;  // "Ok"

 protected:
  void FormShow() override;

 private:
  void TrackBar1Change();
  void Button1Click();
  // The settings switch of a row's effect.
  bool& Flag(std::size_t row);

  GameSettings& settings_;
  std::function<void(Effect)> playEffect_;
  std::function<void()> applyVolume_;
};

}  // namespace kelvarok
