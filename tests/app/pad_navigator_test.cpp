// PadNavigator in the real main window, offscreen, fed by a scripted
// controller: each scenario presses buttons once the window shows the state
// its step waits for.
#include "app/pad_navigator.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>
#include <utility>

#include "app/dialogs/thsform.h"
#include "app/dialogs/tkbform.h"
#include "app/dialogs/tsoundform.h"
#include "app/tform1.h"
#include "assets/sprites.h"
#include "tests/app/virtual_clock_wait.h"

namespace kelvarok {
namespace {

const SpriteSet& Sprites() {
  static const SpriteSet sprites = LoadSprites();
  return sprites;
}

class ScriptedPad final : public PadInputSource {
 public:
  void Down(PadButton button) { inputs_.push_back({PadInput::Kind::ButtonDown, 1, button}); }
  void Up(PadButton button) { inputs_.push_back({PadInput::Kind::ButtonUp, 1, button}); }
  void Click(PadButton button) {
    Down(button);
    Up(button);
  }
  std::vector<PadInput> TakePadInputs() override { return std::exchange(inputs_, {}); }
  bool ControllerConnected() override { return true; }

 private:
  std::vector<PadInput> inputs_;
};

// One step of a scenario: once ready() holds, act() runs and the navigator
// looks at the controller.
struct Step {
  std::function<bool()> ready;
  std::function<void()> act;
};

class PadNavigatorTest : public ::testing::Test {
 protected:
  PadNavigatorTest() {
    TForm1Options options;
    options.clock = &clock_;
    options.wait = &wait_;
    options.seed = 7;
    window_ = std::make_unique<TForm1>(Sprites(), options);
    navigator_ = std::make_unique<PadNavigator>(*window_, pad_);
    window_->show();
    QApplication::setActiveWindow(window_.get());
  }
  ~PadNavigatorTest() override {
    navigator_.reset();
    window_.reset();
  }

  // Runs the steps in order, each once the window is ready for it, from
  // whatever event loop runs at the time (a game's, a dialog's).
  void Run(std::vector<Step> steps) {
    std::size_t next = 0;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
      if (next == steps.size() || !steps[next].ready()) return;
      steps[next++].act();
      navigator_->Look();
    });
    driver.start(0);
    QTRY_VERIFY_WITH_TIMEOUT(next == steps.size(), 60000);
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  }

  // Starts a menu command from the event loop, so that its dialog's loop
  // does not hold up the step that started it.
  static std::function<void()> Later(QAction* item) {
    return [item] { QTimer::singleShot(0, item, &QAction::trigger); };
  }
  static bool ModalIs(const QWidget* widget) { return QApplication::activeModalWidget() == widget; }
  std::function<void()> Press(PadButton button) {
    return [this, button] { pad_.Click(button); };
  }

  VirtualClock clock_;
  VirtualClockWait wait_{clock_};
  ScriptedPad pad_;
  std::unique_ptr<TForm1> window_;
  std::unique_ptr<PadNavigator> navigator_;
};

TEST_F(PadNavigatorTest, StartPlaysAndPausesAGameAndBackHeldQuitsIt) {
  const MainMenu1& menu = window_->menu();
  std::uint32_t backDown = 0;
  bool secondGame = false;
  Run({
      {[] { return true; }, Press(PadButton::Start)},
      {[&] { return window_->flow().GameRunning() && menu.Pause1->isEnabled(); },
       Press(PadButton::Start)},
      {[&] { return menu.Pause1->isChecked(); }, Press(PadButton::Start)},
      {[&] { return !menu.Pause1->isChecked(); },
       [&] {
         pad_.Down(PadButton::Back);
         backDown = clock_.timeGetTime();
       }},
      {[&] { return clock_.timeGetTime() - backDown >= PadGestures::kLongPressMs; }, [] {}},
      {[&] { return !window_->flow().GameRunning(); },
       [&] {
         pad_.Up(PadButton::Back);  // held long: no "2-Player start" as it comes up
         QTimer::singleShot(0, [&] { secondGame = window_->flow().GameRunning(); });
       }},
  });
  EXPECT_FALSE(secondGame);
  EXPECT_FALSE(window_->flow().GameRunning());
  EXPECT_TRUE(menu.N1Playerstart1->isEnabled());
}

TEST_F(PadNavigatorTest, GuideOpensTheGameMenuWhereBClosesItAndAChooses) {
  const MainMenu1& menu = window_->menu();
  const auto menuOpen = [&] { return QApplication::activePopupWidget() == menu.Game; };
  Run({
      {[] { return true; }, Press(PadButton::Guide)},
      {menuOpen, Press(PadButton::B)},
      // Closed, and the menu bar no longer lit.
      {[&] {
         return QApplication::activePopupWidget() == nullptr &&
                window_->menuBar()->activeAction() == nullptr;
       },
       Press(PadButton::Guide)},
      {[&] { return menuOpen() && menu.Game->activeAction() == menu.N1Playerstart1; },
       Press(PadButton::Down)},
      {[&] { return menu.Game->activeAction() == menu.N2Playerstart1; }, Press(PadButton::Down)},
      {[&] { return menu.Game->activeAction() == menu.Highscores1; }, Press(PadButton::A)},
      {[&] { return ModalIs(&window_->HSForm()); }, Press(PadButton::B)},
      {[] { return QApplication::activeModalWidget() == nullptr; }, [] {}},
  });
  EXPECT_FALSE(window_->HSForm().isVisible());
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  EXPECT_FALSE(window_->flow().GameRunning());
}

TEST_F(PadNavigatorTest, DialogsAreWorkedWithTheDpadAAndB) {
  GameSettings& game = window_->settings().game;
  TSoundForm& sound = window_->SoundForm();
  TKBForm& keyboard = window_->KBForm();
  const auto noModal = [] { return QApplication::activeModalWidget() == nullptr; };
  Run({
      // Without a sound device a message box comes first; b is its OK.
      {[] { return true; }, Later(window_->menu().Sound1)},
      {[] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr; },
       Press(PadButton::B)},
      {[&] { return ModalIs(&sound); }, Press(PadButton::Up)},
      {[&] { return sound.focusWidget() == sound.TrackBar1; }, Press(PadButton::Left)},
      // b leaves as "Ok" does, and the volume moved stays.
      {[&] { return game.SoundVolume == 60; }, Press(PadButton::B)},
      {noModal, Later(window_->menu().Keyboard1)},
      {[&] { return ModalIs(&keyboard); }, Press(PadButton::Down)},
      {[&] { return keyboard.focusWidget() == keyboard.ComboBoxes[0]; }, Press(PadButton::A)},
      {[&] { return keyboard.ComboBoxes[0]->currentIndex() == 4; }, Press(PadButton::B)},
      {noModal, [] {}},
  });
  EXPECT_FALSE(sound.isVisible());
  EXPECT_EQ(game.SoundVolume, 60);
  EXPECT_TRUE(game.PhaserSounds);
  EXPECT_FALSE(keyboard.isVisible());
  EXPECT_EQ(game.FireKey, 32);  // "Spacebar", the item after "Ctrl"
}

}  // namespace
}  // namespace kelvarok
