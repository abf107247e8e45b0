// The desktop program under a window manager that frames every window with
// minimise, maximise and close buttons, played the way a player meets it:
// openbox on Xvfb, keys and clicks from xdotool, a held key repeating.
#include <gtest/gtest.h>

#include <QSettings>

#include "desktop_process.h"

namespace {

using namespace kelvarok::desktop_process;

// The main window, shown and with the focus, of a program in its own home.
class Session {
 public:
  explicit Session(const XServer& x) : x_(x), program_(home_, {{}, &x}) {
    if (auto found = x.FindWindow("^Kelvarok 2.10$")) window_ = *found;
  }
  const std::string& window() const { return window_; }
  const Home& home() const { return home_; }
  // Keys to the main window.
  bool Keys(const std::string& keys) const {
    return x_.Xdotool("windowfocus --sync " + window_ + " key --delay 30 " + keys).has_value();
  }
  // Ends the program as a logout does; its settings are then on disk.
  bool Close() {
    program_.Signal(SIGTERM);
    return program_.WaitForExit() == 0;
  }

 private:
  const XServer& x_;
  Home home_;
  Program program_;
  std::string window_;
};

// The window's place and client size, as xdotool's shell variables.
std::string Geometry(const XServer& x, const std::string& window) {
  return x.Xdotool("getwindowgeometry --shell " + window + " | tr '\\n' ' '").value_or("");
}

TEST(UnderAWindowManager, DialogsKeepTheirChoicesOverAMinimiseAndCloseAsOk) {
  XServer x(XServer::Manager::Openbox);
  if (x.display().empty()) GTEST_SKIP() << "needs Xvfb, openbox and xdotool";
  const struct {
    const char* menu;
    const char* title;
    const char* change;  // keys from the dialog's first focus
  } dialogs[] = {
      {"alt+o k", "^Keyboard Settings$", "Tab Down"},  // Fire: Ctrl to the next key, Spacebar
      {"alt+o s", "^Sound Effects$", "Tab space"},     // Phaser sounds off
      {"alt+g h", "^High Scores$", ""},
  };
  Session game(x);
  ASSERT_FALSE(game.window().empty());
  for (const auto& d : dialogs) {
    SCOPED_TRACE(d.title);
    ASSERT_TRUE(game.Keys(d.menu));
    auto dialog = x.FindWindow(d.title);
    ASSERT_TRUE(dialog);
    const std::string shown = Geometry(x, *dialog);
    if (*d.change) {
      ASSERT_TRUE(x.Xdotool("windowfocus --sync " + *dialog + " key " + d.change));
    }
    ASSERT_TRUE(x.Xdotool("windowminimize --sync " + *dialog));
    ASSERT_TRUE(x.Xdotool("windowactivate --sync " + *dialog));
    ASSERT_TRUE(x.FindWindow(d.title));
    // Alt+F4 is openbox's close, as its close button.
    ASSERT_TRUE(x.Xdotool("windowactivate --sync " + *dialog + " key alt+F4"));
    ASSERT_TRUE(x.Gone(d.title));
    // Shown again, the dialog is where it was.
    ASSERT_TRUE(game.Keys(d.menu));
    dialog = x.FindWindow(d.title);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(Geometry(x, *dialog), shown);
    ASSERT_TRUE(x.Xdotool("windowactivate --sync " + *dialog + " key alt+F4"));
    ASSERT_TRUE(x.Gone(d.title));
  }
  ASSERT_TRUE(game.Close());
  QSettings saved(game.home().Settings(), QSettings::IniFormat);
  EXPECT_EQ(saved.value("FireKey").toInt(), 32);
  EXPECT_EQ(saved.value("PhaserSounds").toString(), "0");
}

TEST(UnderAWindowManager, DefaultWindowSizeAfterMaximiseAndFullScreenKeepsThePlace) {
  XServer x(XServer::Manager::Openbox);
  if (x.display().empty()) GTEST_SKIP() << "needs Xvfb, openbox and xdotool";
  Session game(x);
  ASSERT_FALSE(game.window().empty());
  const std::string normal = Geometry(x, game.window());
  // The window manager's state of the window and its geometry, both as
  // wanted: each key then reaches a window that has seen its new state.
  const auto at = [&](const std::string& state, const std::string& place) {
    return WaitFor([&] {
      const auto now = x.Run("xprop -id " + game.window() + " _NET_WM_STATE");
      return now && now->substr(now->find('=') + 1) == state &&
             Geometry(x, game.window()).find(place) != std::string::npos;
    });
  };
  const std::string maximised = " _NET_WM_STATE_MAXIMIZED_VERT, _NET_WM_STATE_MAXIMIZED_HORZ";
  // The title bar's maximise button, next to the close button at the right.
  ASSERT_TRUE(x.Xdotool("mousemove --window " + game.window() + " 724 -11 click 1"));
  ASSERT_TRUE(at(maximised, "WIDTH=1024 HEIGHT=749"));
  ASSERT_TRUE(game.Keys("F11"));
  ASSERT_TRUE(at(" _NET_WM_STATE_FULLSCREEN", "X=0 Y=0 WIDTH=1024 HEIGHT=768"))
      << x.Run("xprop -id " + game.window() + " _NET_WM_STATE").value_or("")
      << Geometry(x, game.window());
  ASSERT_TRUE(game.Keys("F11"));
  ASSERT_TRUE(at(maximised, "WIDTH=1024 HEIGHT=749"));
  ASSERT_TRUE(game.Keys("alt+o d"));
  EXPECT_TRUE(WaitFor([&] { return Geometry(x, game.window()) == normal; }))
      << Geometry(x, game.window()) << " instead of " << normal;
}

TEST(UnderAWindowManager, F1BringsBackAMinimisedHelpWindow) {
  XServer x(XServer::Manager::Openbox);
  if (x.display().empty()) GTEST_SKIP() << "needs Xvfb, openbox and xdotool";
  Session game(x);
  ASSERT_FALSE(game.window().empty());
  ASSERT_TRUE(game.Keys("F1"));
  const auto help = x.FindWindow("^Kelvarok Help$");
  ASSERT_TRUE(help);
  // Shown and then given the focus: a window manager restores a window that
  // asks for the focus, so the player minimises it once it has the focus.
  ASSERT_TRUE(WaitFor([&] { return x.Xdotool("getactivewindow") == *help; }));
  ASSERT_TRUE(x.Xdotool("windowminimize --sync " + *help));
  ASSERT_TRUE(x.Gone("^Kelvarok Help$"));
  ASSERT_TRUE(game.Keys("F1"));
  EXPECT_TRUE(x.FindWindow("^Kelvarok Help$"));
  EXPECT_TRUE(WaitFor([&] { return x.Xdotool("getactivewindow") == *help; }));
}

TEST(UnderAWindowManager, AHeldGameKeyHoldsTheEndOfTheGameUntilItIsLetGo) {
  XServer x(XServer::Manager::Openbox);
  if (x.display().empty()) GTEST_SKIP() << "needs Xvfb, openbox and xdotool";
  Session game(x);
  ASSERT_FALSE(game.window().empty());
  ASSERT_TRUE(game.Keys("F2"));
  ASSERT_TRUE(x.FindWindow("Round 1"));
  // A held key repeats as a release and a press unless the program asked
  // the server for presses alone, and Qt tells few such releases from real
  // ones once the game plays. Each look at the caption is a round trip to
  // the server: hundreds of looks span dozens of repeats, none of which may
  // end the game.
  const auto caption = [&] { return x.Xdotool("getwindowname " + game.window()); };
  ASSERT_TRUE(x.Xdotool("keydown space"));
  for (int look = 0; look < 250; ++look) ASSERT_EQ(caption(), "Kelvarok 2.10 - Round 1");
  // The game is quit with the mouse, as another key would end the repeat.
  // The Game menu's window is made when the menu is first shown (xdotool
  // does not count such a popup among the visible windows).
  ASSERT_TRUE(x.Xdotool("mousemove --window " + game.window() + " 24 8 click 1"));
  ASSERT_TRUE(x.Xdotool("search --sync --name '^Kelvarok$'"));
  ASSERT_TRUE(x.Xdotool("mousemove --window " + game.window() + " 61 94 click 1"));  // Quit game
  for (int look = 0; look < 150; ++look) ASSERT_EQ(caption(), "Kelvarok 2.10 - Round 1") << look;
  ASSERT_TRUE(x.Xdotool("keyup space"));
  EXPECT_TRUE(x.FindWindow("^Kelvarok 2.10$"));
}

}  // namespace
