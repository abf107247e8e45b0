// The main window's sound: the "Test" buttons play whatever the switches say,
// the focus handlers activate and deactivate the mixer, the volume follows
// the settings and the system's volume comes back at exit.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include "app/dialogs/tsoundform.h"
#include "app/tform1.h"
#include "assets/sprites.h"
#include "sound/game_sounds.h"
#include "tests/app/virtual_clock_wait.h"
#include "tests/sound/mixer_rig.h"

namespace kelvarok {
namespace {

constexpr std::uint32_t kSystemVolume = 0x12345678;

class TForm1SoundTest : public ::testing::Test {
 protected:
  TForm1SoundTest() {
    rig_.device.waveOutSetVolume(WAVE_MAPPER, kSystemVolume);
    sounds_.emplace(GameSoundServices{rig_.mixer, rig_.device, rig_.messages,
                                      [this](const std::string& m) { reports_.push_back(m); }},
                    true);
    TForm1Options options;
    options.store = &store_;
    options.clock = &clock_;
    options.wait = &wait_;
    options.sounds = &*sounds_;
    static const SpriteSet sprites = LoadSprites();
    window_ = std::make_unique<TForm1>(sprites, options);
  }

  // Lets the mixer's virtual time pass as the desktop's event loop would.
  void RunFor(std::uint32_t ms) {
    for (std::uint32_t i = 0; i < ms; ++i) {
      rig_.clock.Advance(1);
      rig_.device.Poll();
      sounds_->DispatchMixerMessages();
    }
  }
  bool Heard() {
    return std::any_of(rig_.device.played.begin(), rig_.device.played.end(),
                       [](std::uint8_t b) { return b != 128; });
  }
  std::uint32_t Volume() {
    std::uint32_t volume = 0;
    rig_.device.waveOutGetVolume(WAVE_MAPPER, &volume);
    return volume;
  }

  QTemporaryDir dir_;
  SettingsStore store_{dir_.filePath("Kelvarok.conf")};
  VirtualClock clock_;
  VirtualClockWait wait_{clock_};
  testing::MixerRig rig_;
  std::optional<GameSounds> sounds_;
  std::vector<std::string> reports_;
  std::unique_ptr<TForm1> window_;
};

TEST_F(TForm1SoundTest, StartUpLoadsTheEffectsAndAppliesTheStoredVolume) {
  for (int n = 0; n < kEffectCount; ++n) EXPECT_NE(sounds_->EffectWave(n), nullptr) << n;
  EXPECT_EQ(Volume(), GameSounds::WaveVolume(70));  // 45874 on both channels
  EXPECT_TRUE(reports_.empty());
}

TEST_F(TForm1SoundTest, TestButtonsPlayEvenWithTheirSwitchOff) {
  window_->flow().AppOnActivate();
  ASSERT_TRUE(sounds_->Activated());
  GameSettings& game = window_->settings().game;
  game.PhaserSounds = game.CrashSounds = game.ThrustSounds = false;
  game.HyperSpaceSounds = game.BonusSounds = false;
  window_->SoundForm().TestButtons[0]->click();  // phaser
  RunFor(300);
  EXPECT_TRUE(Heard());
}

TEST_F(TForm1SoundTest, FocusDeactivatesAndActivatesTheMixer) {
  window_->flow().AppOnActivate();
  EXPECT_TRUE(sounds_->Activated());
  window_->flow().AppOnDeactivate();
  EXPECT_FALSE(sounds_->Activated());
  window_->SoundEffect(Effect::Explosion);  // in the background: dropped
  RunFor(300);
  EXPECT_FALSE(Heard());
  window_->flow().AppOnActivate();
  EXPECT_TRUE(sounds_->Activated());
}

TEST_F(TForm1SoundTest, ClosingPutsTheSystemVolumeBackButARefusedCloseKeepsTheGamesOwn) {
  window_->show();
  // The file is a link into a folder that is a file: the save fails.
  QFile file(dir_.filePath("file"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  const QString blocker = dir_.filePath("Kelvarok.conf");
  ASSERT_TRUE(QFile::link(dir_.filePath("file/Kelvarok.conf"), blocker));
  QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
  window_->close();
  ASSERT_TRUE(window_->isVisible());
  EXPECT_EQ(Volume(), GameSounds::WaveVolume(70));

  ASSERT_TRUE(QFile::remove(blocker));
  window_->close();
  EXPECT_FALSE(window_->isVisible());
  EXPECT_EQ(Volume(), kSystemVolume);
}

}  // namespace
}  // namespace kelvarok
