// PadNavigator in the real main window, offscreen, fed by a scripted
// controller: each scenario presses buttons once the window shows the state
// its step waits for.
#include "app/pad_navigator.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>
#include <utility>

#include "app/dialogs/thsform.h"
#include "app/dialogs/tjsform.h"
#include "app/dialogs/tkbform.h"
#include "app/dialogs/tsoundform.h"
#include "app/tform1.h"
#include "assets/sprites.h"
#include "sdl/sdl_joysticks.h"
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

  // The navigator reads another source from now on.
  void ReadFrom(PadInputSource& source) {
    navigator_ = std::make_unique<PadNavigator>(*window_, source);
  }
  bool AtTurnPrompt() const {
    const MainMenu1& menu = window_->menu();
    return window_->flow().GameRunning() && !menu.Pause1->isEnabled() &&
           menu.Quitgame1->isEnabled();
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
       Press(PadButton::Right)},
      // Sideways along the menu bar: Options, and back to Game.
      {[&] { return QApplication::activePopupWidget() == menu.Options; }, Press(PadButton::Left)},
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
  TJSForm& joystick = window_->JSForm();
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
      // Every button of a radio group takes the focus, not only the checked one.
      {noModal, Later(window_->menu().Joystick1)},
      {[&] { return ModalIs(&joystick); }, Press(PadButton::Up)},
      {[&] { return joystick.focusWidget() != joystick.Button1; }, Press(PadButton::Up)},
      {[] { return true; }, Press(PadButton::A)},
      {[] { return true; }, Press(PadButton::B)},
      {noModal, [] {}},
  });
  EXPECT_FALSE(sound.isVisible());
  EXPECT_EQ(game.SoundVolume, 60);
  EXPECT_TRUE(game.PhaserSounds);
  EXPECT_FALSE(keyboard.isVisible());
  EXPECT_EQ(game.FireKey, 32);  // "Spacebar", the item after "Ctrl"
  EXPECT_EQ(game.JoyStick1, 0);
  EXPECT_EQ(game.JoyStick2, 1);  // "Joystick #1", above "Joystick #2" above "Ok"
}

// a held at "Press Enter" holds Enter until it is let go, and fires no
// other press; back (short) is "2-Player start".
TEST_F(PadNavigatorTest, AAnswersTheTurnPromptAsEnterWhileHeld) {
  const MainMenu1& menu = window_->menu();
  KeyTable& keys = window_->Keys();
  bool enterHeldOnAnswer = false;
  Run({
      {[] { return true; }, Press(PadButton::Back)},
      // Player 1 fires (ending the spawn shield) and jumps until a ship is lost.
      {[&] { return window_->flow().GameRunning() && menu.Pause1->isEnabled(); },
       [&] {
         keys.Press(VK_CONTROL);
         keys.Press(VK_SPACE);
       }},
      {[&] { return AtTurnPrompt(); },
       [&] {
         keys.Release(VK_CONTROL);
         keys.Release(VK_SPACE);
         pad_.Down(PadButton::A);
       }},
      {[&] { return menu.Pause1->isEnabled(); },
       [&] {
         enterHeldOnAnswer = KeyDown(keys, VK_RETURN);
         pad_.Up(PadButton::A);
       }},
      {[&] { return !KeyDown(keys, VK_RETURN); }, [&] { menu.Quitgame1->trigger(); }},
      {[&] { return !window_->flow().GameRunning(); }, [] {}},
  });
  EXPECT_TRUE(enterHeldOnAnswer);
  EXPECT_FALSE(menu.Pause1->isChecked());  // a pressed nothing once the game went on
}

// A controller SDL reports (here SDL's virtual one) drives the navigator
// through SdlJoysticks: each change made and taken in, as a real one's.
TEST_F(PadNavigatorTest, AnSdlControllersStartStartsAGame) {
  SdlJoysticks joysticks;
  if (SDL_NumJoysticks() != 0) GTEST_SKIP() << "a real joystick is connected";
  const int index = SDL_JoystickAttachVirtual(
      SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
  ASSERT_GE(index, 0) << SDL_GetError();
  SDL_Joystick* device = SDL_JoystickOpen(index);
  ASSERT_NE(device, nullptr) << SDL_GetError();
  ReadFrom(joysticks);
  const auto button = [device](SDL_GameControllerButton which, bool down) {
    SDL_JoystickSetVirtualButton(device, which, down ? 1 : 0);
    SDL_JoystickUpdate();
  };
  bool started = false;
  Run({
      {[] { return true; },
       [&] {
         button(SDL_CONTROLLER_BUTTON_START, true);
         button(SDL_CONTROLLER_BUTTON_START, false);
       }},
      {[&] { return window_->flow().GameRunning(); },
       [&] {
         started = true;
         window_->menu().Quitgame1->trigger();
       }},
      {[&] { return !window_->flow().GameRunning(); }, [] {}},
  });
  EXPECT_TRUE(started);
  EXPECT_TRUE(joysticks.ControllerConnected());
  navigator_.reset();
  SDL_JoystickClose(device);
  SDL_JoystickDetachVirtual(index);
}

}  // namespace
}  // namespace kelvarok
