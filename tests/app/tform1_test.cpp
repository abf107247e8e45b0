#include "app/tform1.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QResizeEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "app/dialogs/tsoundform.h"
#include "app/help_window.h"
#include "assets/sprites.h"
#include "tests/app/virtual_clock_wait.h"

namespace kelvarok {
namespace {

const SpriteSet& Sprites() {
  static const SpriteSet sprites = LoadSprites();
  return sprites;
}

// Handles the next modal window from the event loop once it is shown.
void WhenModal(std::function<void(QWidget&)> handle) {
  QTimer::singleShot(0, [handle] {
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_NE(modal, nullptr);
    handle(*modal);
  });
}

void FlushEvents() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

class TForm1Test : public ::testing::Test {
 protected:
  QString StorePath() const { return dir_.filePath("Ombrix/Kelvarok.conf"); }

  TForm1& Window() {
    if (!window_) {
      TForm1Options options;
      options.store = &store_;
      options.seed = 7;
      options.clock = &clock_;
      options.wait = &wait_;
      options.helpFile = helpFile_;
      window_ = std::make_unique<TForm1>(Sprites(), options);
    }
    return *window_;
  }
  void Show() {
    Window().show();
    QApplication::setActiveWindow(&Window());
    FlushEvents();
  }
  // Runs a one-player game started by F2; script runs at every message
  // processing until it returns true, after which the test quits the game.
  void PlayGame(std::function<bool()> script) {
    bool done = false;
    Window().SetMessageHook([&] {
      if (!done && clock_.timeGetTime() - start_ > 2100) done = script();
    });
    start_ = clock_.timeGetTime();
    QTest::keyClick(&Window(), Qt::Key_F2);
    Window().SetMessageHook(nullptr);
  }

  QTemporaryDir dir_;
  SettingsStore store_{StorePath()};
  VirtualClock clock_;
  VirtualClockWait wait_{clock_};
  std::uint32_t start_ = 0;
  QString helpFile_ = QString(KELVAROK_SOURCE_DIR) + "/app/help/kelvarok.html";
  std::unique_ptr<TForm1> window_;
};

TEST_F(TForm1Test, MenuItemsAsDesigned) {
  const MainMenu1& m = Window().menu();
  EXPECT_EQ(m.Game->title(), "&Game");
  EXPECT_EQ(m.Options->title(), "&Options");
  EXPECT_EQ(m.Help->title(), "&Help");
  const struct {
    QAction* item;
    const char* caption;
    QKeySequence shortcut;
    bool enabled;
  } items[] = {
      {m.N1Playerstart1, "&1-Player start", Qt::Key_F2, true},
      {m.N2Playerstart1, "&2-Player start", Qt::Key_F3, true},
      {m.Pause1, "&Pause", Qt::Key_F4, false},
      {m.Quitgame1, "&Quit game", Qt::CTRL | Qt::Key_Q, false},
      {m.Highscores1, "&High scores...", {}, true},
      {m.WatchLastGame, "&Watch last game", {}, false},  // no game recorded yet
      {m.Exit1, "E&xit", {}, true},
      {m.Keyboard1, "&Keyboard...", {}, true},
      {m.Joystick1, "&Joystick...", {}, true},
      {m.Sound1, "&Sound...", {}, true},
      {m.Defaultwindowsize1, "&Default window size", {}, true},
      {m.Contents1, "&Contents", Qt::Key_F1, true},
      {m.About1, "&About...", {}, true},
  };
  for (const auto& i : items) {
    SCOPED_TRACE(i.caption);
    EXPECT_EQ(i.item->text(), i.caption);
    EXPECT_EQ(i.item->shortcut(), i.shortcut);
    EXPECT_EQ(i.item->isEnabled(), i.enabled);
  }
  // The Game menu in order: the game commands, the separator, Exit last.
  const QList<QAction*> game = m.Game->actions();
  ASSERT_EQ(game.size(), 8);
  const QAction* order[] = {m.N1Playerstart1, m.N2Playerstart1, m.Pause1, m.Quitgame1,
                            m.Highscores1,    m.WatchLastGame,  nullptr,  m.Exit1};
  for (int i = 0; i < 8; ++i) {
    if (order[i] == nullptr)
      EXPECT_TRUE(game[i]->isSeparator());
    else
      EXPECT_EQ(game[i], order[i]) << "position " << i;
  }
  EXPECT_EQ(Window().windowTitle(), "Kelvarok 2.10");
  // No icon theme offscreen: the game's own icons built into the program.
  EXPECT_TRUE(Window().windowIcon().availableSizes().contains(QSize(32, 32)));
}

TEST_F(TForm1Test, F4AndCtrlQDoNothingWhileIdle) {
  Show();
  QTest::keyClick(&Window(), Qt::Key_F4);
  QTest::keyClick(&Window(), Qt::Key_Q, Qt::ControlModifier);
  EXPECT_FALSE(Window().menu().Pause1->isChecked());
  EXPECT_FALSE(Window().flow().GameRunning());
  EXPECT_TRUE(Window().isVisible());
}

TEST_F(TForm1Test, MenuDuringAGame) {
  Show();
  bool checked = false;
  int step = 0;
  PlayGame([&] {
    const MainMenu1& m = Window().menu();
    switch (step++) {
      case 0:
        EXPECT_TRUE(Window().flow().GameRunning());
        EXPECT_FALSE(m.N1Playerstart1->isEnabled());
        EXPECT_FALSE(m.N2Playerstart1->isEnabled());
        EXPECT_TRUE(m.Pause1->isEnabled());
        EXPECT_TRUE(m.Quitgame1->isEnabled());
        EXPECT_TRUE(m.Highscores1->isEnabled() && m.Keyboard1->isEnabled() &&
                    m.Sound1->isEnabled() && m.About1->isEnabled());
        EXPECT_EQ(Window().windowTitle(), "Kelvarok 2.10 - Round 1");
        QTest::keyClick(&Window(), Qt::Key_F2);  // does nothing: no game inside the game
        QTest::keyClick(&Window(), Qt::Key_F4);
        checked = m.Pause1->isChecked();
        return false;
      case 1:
        QTest::keyClick(&Window(), Qt::Key_F4);
        EXPECT_FALSE(m.Pause1->isChecked());
        return false;
      default:
        QTest::keyClick(&Window(), Qt::Key_Q, Qt::ControlModifier);
        return true;
    }
  });
  EXPECT_TRUE(checked);
  EXPECT_GE(step, 3);
  EXPECT_FALSE(Window().flow().GameRunning());
  const MainMenu1& m = Window().menu();
  EXPECT_TRUE(m.N1Playerstart1->isEnabled());
  EXPECT_FALSE(m.Pause1->isEnabled());
  EXPECT_FALSE(m.Quitgame1->isEnabled());
  EXPECT_EQ(Window().windowTitle(), "Kelvarok 2.10");
}

TEST_F(TForm1Test, GameKeysReachTheKeyTableAndNothingElseDuringAGame) {
  Show();
  bool spaceDown = false, ctrlDown = false, keypadDown = false, menuOpened = true;
  PlayGame([&] {
    QWidget* field = Window().findChild<QWidget*>("iBackGround");
    QTest::keyPress(field, Qt::Key_Space);
    spaceDown = KeyDown(Window().Keys(), VK_SPACE);
    QTest::keyRelease(field, Qt::Key_Space);
    QTest::keyPress(&Window(), Qt::Key_Control, Qt::ControlModifier);
    ctrlDown = KeyDown(Window().Keys(), VK_CONTROL);
    QTest::keyRelease(&Window(), Qt::Key_Control);
    QTest::keyPress(&Window(), Qt::Key_5, Qt::KeypadModifier);
    keypadDown = KeyDown(Window().Keys(), 101);
    QTest::keyRelease(&Window(), Qt::Key_5, Qt::KeypadModifier);
    QTest::keyClick(&Window(), Qt::Key_Alt);
    menuOpened = Window().menuBar()->activeAction() != nullptr;
    Window().flow().Quitgame1Click();
    return true;
  });
  EXPECT_TRUE(spaceDown);
  EXPECT_TRUE(ctrlDown);
  EXPECT_TRUE(keypadDown);
  EXPECT_FALSE(menuOpened);
  EXPECT_FALSE(KeyDown(Window().Keys(), VK_SPACE));
}

TEST_F(TForm1Test, LosingTheFocusReleasesEveryKey) {
  Show();
  QTest::keyPress(&Window(), Qt::Key_Up);
  ASSERT_TRUE(KeyDown(Window().Keys(), VK_UP));
  QApplication::setActiveWindow(nullptr);
  FlushEvents();
  EXPECT_FALSE(KeyDown(Window().Keys(), VK_UP));
}

TEST_F(TForm1Test, StatusBarPanels) {
  Show();
  StatusBarWidget& bar = Window().statusBar1();
  EXPECT_EQ(bar.height(), 33);
  const struct {
    StatusPanel panel;
    const char* name;
    const char* caption;
    int width;  // 0: the rest
    int pixels;
    bool bold;
    QColor colour;
  } panels[] = {
      {StatusPanel::P1Panel, "P1Panel", "Player 1", 104, 15, true, QColor(0, 0, 128)},
      {StatusPanel::P1Score, "P1Score", "0", 112, 23, false, QColor(128, 0, 128)},
      {StatusPanel::ShipPanel, "ShipPanel", "^^^", 0, 33, false, QColor(128, 0, 0)},
      {StatusPanel::P2Score, "P2Score", "0", 112, 23, false, QColor(128, 0, 128)},
      {StatusPanel::P2Panel, "P2Panel", "Player 2", 104, 15, true, QColor(0, 0, 128)},
  };
  int x = 0;
  for (const auto& p : panels) {
    SCOPED_TRACE(p.name);
    QLabel& label = bar.Panel(p.panel);
    EXPECT_EQ(label.objectName(), p.name);
    EXPECT_EQ(label.text(), p.caption);
    EXPECT_EQ(label.x(), x);
    EXPECT_EQ(label.width(), p.width ? p.width : 750 - 2 * 104 - 2 * 112);
    EXPECT_EQ(label.frameShadow(), QFrame::Sunken);
    // The bold plates are drawn with the bundled bold face itself.
    const QFontInfo face(label.font());
    EXPECT_EQ(face.family(), p.bold ? "OCRABold" : "OCRA");
    EXPECT_EQ(face.pixelSize(), p.pixels);
    EXPECT_EQ(face.bold(), p.bold);
    EXPECT_EQ(label.palette().color(QPalette::WindowText), p.colour);
    x += label.width();
  }
  Window().SetPanelFontColour(StatusPanel::P2Panel, kGrey);
  Window().SetPanelCaption(StatusPanel::ShipPanel, "^");
  EXPECT_EQ(bar.Panel(StatusPanel::P2Panel).palette().color(QPalette::WindowText),
            QColor(128, 128, 128));
  EXPECT_EQ(bar.Panel(StatusPanel::ShipPanel).text(), "^");
}

TEST_F(TForm1Test, TheFieldIsShownStretchedPixelForPixel) {
  Show();
  Window().world().field.set(1, 0, Rgb(0, 255, 0));
  Window().resize(1500, Window().DesignedSize().height() + 450);
  FlushEvents();
  QWidget* view = Window().findChild<QWidget*>("iBackGround");
  ASSERT_EQ(view->size(), QSize(1500, 900));
  const QImage shot = view->grab().toImage();
  EXPECT_EQ(shot.pixelColor(2, 0), QColor(0, 255, 0));
  EXPECT_EQ(shot.pixelColor(3, 1), QColor(0, 255, 0));
  EXPECT_NE(shot.pixelColor(4, 0), QColor(0, 255, 0));
  EXPECT_NE(shot.pixelColor(1, 0), QColor(0, 255, 0));
}

TEST_F(TForm1Test, WindowSizeMaximisedStateAndDefaultSize) {
  Show();
  QWidget* client = Window().centralWidget();
  EXPECT_EQ(client->size(), QSize(750, 483));
  Window().resize(900, 700);
  FlushEvents();
  EXPECT_EQ(Window().rememberedSize(), QSize(900, 700));
  Window().showMaximized();
  FlushEvents();
  // The window manager resizes a maximised window.
  QResizeEvent resized(QSize(1000, 800), Window().size());
  QApplication::sendEvent(&Window(), &resized);
  EXPECT_EQ(Window().rememberedSize(), QSize(900, 700));
  Window().menu().Defaultwindowsize1->trigger();
  FlushEvents();
  EXPECT_FALSE(Window().isMaximized());
  EXPECT_EQ(client->size(), QSize(750, 483));
}

TEST_F(TForm1Test, TheStoredSizeAndStateApplyBeforeTheWindowIsShown) {
  QDir().mkpath(dir_.filePath("Ombrix"));
  QFile file(StorePath());
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("[General]\nFormWidth=900\nFormHeight=640\nFormMaximized=1\n");
  file.close();
  EXPECT_EQ(Window().size(), QSize(900, 640));
  EXPECT_EQ(Window().rememberedSize(), QSize(900, 640));
  EXPECT_TRUE(Window().windowState() & Qt::WindowMaximized);
}

TEST_F(TForm1Test, ExitSavesEverySettingAndClosesTheHelp) {
  Show();
  Window().menu().Contents1->trigger();
  ASSERT_TRUE(Window().Help().isVisible());
  Window().settings().game.FireKey = 101;
  Window().menu().Exit1->trigger();
  EXPECT_FALSE(Window().isVisible());
  EXPECT_FALSE(Window().Help().isVisible());
  QSettings file(StorePath(), QSettings::IniFormat);
  EXPECT_EQ(file.childKeys().size(), 46);
  EXPECT_EQ(file.value("FireKey").toString(), "101");
  EXPECT_EQ(file.value("FormWidth").toInt(), Window().DesignedSize().width());
  EXPECT_EQ(file.value("FormMaximized").toString(), "0");
}

TEST_F(TForm1Test, ASaveThatFailsKeepsTheWindowOpenAndClosingAgainRetries) {
  // The store's directory is a file, so nothing can be written.
  QFile blocker(dir_.filePath("Ombrix"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  Show();
  QString shown;
  WhenModal([&](QWidget& box) {
    shown = static_cast<QMessageBox&>(box).text();
    static_cast<QMessageBox&>(box).accept();
  });
  Window().close();
  EXPECT_EQ(shown, "Failed to set data for 'FormWidth'");
  EXPECT_TRUE(Window().isVisible());

  ASSERT_TRUE(QFile::remove(dir_.filePath("Ombrix")));
  Window().close();
  EXPECT_FALSE(Window().isVisible());
  EXPECT_TRUE(QFile::exists(StorePath()));
}

TEST_F(TForm1Test, ClosingDuringAGameSavesAtOnceAndClosesWhenTheGameHasReturned) {
  Show();
  bool savedAtOnce = false, visibleAfterClose = false;
  PlayGame([&] {
    Window().close();
    savedAtOnce = QFile::exists(StorePath());
    visibleAfterClose = Window().isVisible();
    return true;
  });
  EXPECT_TRUE(savedAtOnce);
  EXPECT_TRUE(visibleAfterClose);
  EXPECT_FALSE(Window().flow().GameRunning());
  EXPECT_FALSE(Window().isVisible());
}

TEST_F(TForm1Test, SoundWithoutADeviceSaysSoAndThenShowsTheDialog) {
  Show();
  QString message;
  bool dialogShown = false;
  WhenModal([&](QWidget& box) {
    message = static_cast<QMessageBox&>(box).text();
    WhenModal([&](QWidget& dialog) {
      dialogShown = &dialog == &Window().SoundForm();
      Window().SoundForm().Button1->click();
    });
    static_cast<QMessageBox&>(box).accept();
  });
  Window().menu().Sound1->trigger();
  EXPECT_EQ(message, "No wave output devices available");
  EXPECT_TRUE(dialogShown);
  EXPECT_EQ(Window().settings().game.SoundVolume, 70);
}

TEST_F(TForm1Test, HelpShowsTheBundledPageOrReportsAMissingFile) {
  Window().menu().Contents1->trigger();
  EXPECT_TRUE(Window().Help().isVisible());
  EXPECT_EQ(Window().Help().documentTitle(), "Kelvarok Help");
  HelpWindow missing(dir_.filePath("nowhere/kelvarok.html"));
  missing.ShowContents();
  EXPECT_TRUE(missing.toPlainText().contains("was not found"));
  Window().Help().close();
}

TEST_F(TForm1Test, F1PausesARunningGameAndOpensTheHelpOverTheWindow) {
  Show();
  Window().move(40, 30);
  const struct {
    const char* name;
    bool pausedBefore;
  } cases[] = {{"running", false}, {"paused already", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QApplication::setActiveWindow(&Window());
    bool paused = false, centred = false;
    PlayGame([&] {
      if (c.pausedBefore) QTest::keyClick(&Window(), Qt::Key_F4);
      QTest::keyClick(&Window(), Qt::Key_F1);
      paused = Window().menu().Pause1->isChecked();
      centred = Window().Help().isVisible() &&
                Window().Help().geometry().center() == Window().geometry().center();
      Window().Help().close();
      Window().flow().Quitgame1Click();
      return true;
    });
    EXPECT_TRUE(paused);
    EXPECT_TRUE(centred);
  }
  Window().menu().Contents1->trigger();  // no game: nothing to pause
  EXPECT_FALSE(Window().menu().Pause1->isChecked());
  Window().Help().close();
}

TEST_F(TForm1Test, F11TogglesFullScreenAndLeavesTheMenuAlone) {
  Show();
  QTest::keyClick(&Window(), Qt::Key_F11);
  FlushEvents();
  EXPECT_TRUE(Window().isFullScreen());
  EXPECT_TRUE(Window().menuBar()->isVisible());
  EXPECT_EQ(Window().menu().Game->actions().size(), 8);
  QTest::keyClick(&Window(), Qt::Key_F11);
  FlushEvents();
  EXPECT_FALSE(Window().isFullScreen());
}

TEST_F(TForm1Test, ASecondStartRestoresAMinimisedWindow) {
  Show();
  Window().showMinimized();
  FlushEvents();
  ASSERT_TRUE(Window().isMinimized());
  Window().BringToFront();
  FlushEvents();
  EXPECT_FALSE(Window().isMinimized());
  EXPECT_TRUE(Window().isVisible());
}

class Thrower final : public QObject {
 public:
  bool event(QEvent*) override { throw std::runtime_error("Mixer failure"); }
};

TEST_F(TForm1Test, AnEscapingExceptionIsShownAndTheProgramGoesOn) {
  QString shown;
  WhenModal([&](QWidget& box) {
    shown = static_cast<QMessageBox&>(box).text();
    static_cast<QMessageBox&>(box).accept();
  });
  Thrower thrower;
  QEvent event(QEvent::User);
  QCoreApplication::sendEvent(&thrower, &event);
  EXPECT_EQ(shown, "Mixer failure");
}

TEST_F(TForm1Test, TheLastGamePlaysAgainInTheWindowAndCtrlQStopsIt) {
  Show();
  PlayGame([&] {
    Window().menu().Quitgame1->trigger();
    return true;
  });
  const MainMenu1& m = Window().menu();
  ASSERT_TRUE(m.WatchLastGame->isEnabled());
  QString captionDuringReplay;
  bool startsDisabled = false, pauseEnabled = false;
  Window().SetMessageHook([&] {
    if (!captionDuringReplay.isEmpty() || !Window().windowTitle().contains("Replay")) return;
    captionDuringReplay = Window().windowTitle();
    startsDisabled = !m.N1Playerstart1->isEnabled() && !m.WatchLastGame->isEnabled();
    pauseEnabled = m.Pause1->isEnabled() && m.Quitgame1->isEnabled();
    QTest::keyClick(&Window(), Qt::Key_Q, Qt::ControlModifier);
  });
  m.WatchLastGame->trigger();
  Window().SetMessageHook(nullptr);
  EXPECT_EQ(captionDuringReplay, "Kelvarok 2.10 - Replay - Round 1");
  EXPECT_TRUE(startsDisabled);
  EXPECT_TRUE(pauseEnabled);
  EXPECT_FALSE(Window().Replaying());
  EXPECT_EQ(Window().windowTitle(), "Kelvarok 2.10");
  EXPECT_TRUE(m.N1Playerstart1->isEnabled() && m.WatchLastGame->isEnabled());
  EXPECT_FALSE(m.Pause1->isEnabled());
  EXPECT_FALSE(QFile::exists(StorePath()));  // nothing of the replay is saved
}

}  // namespace
}  // namespace kelvarok
