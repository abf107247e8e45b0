// The real program with a virtual game controller, under openbox on Xvfb: the
// lines a test appends to the controller's script reach the game as a pad's
// would, and a whole session is played with the pad alone. With
// KELVAROK_SCREENSHOT_DIR set (and ImageMagick's import at hand), the screen
// is saved there at the moments worth looking at.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QSettings>
#include <algorithm>
#include <span>

#include "game/controls_sample.h"
#include "game/replay_file.h"
#include "virtual_pad.h"

namespace {

using namespace kelvarok;
using namespace kelvarok::virtual_pad;

// The stick chosen for player 1, as Options → Joystick saves it.
constexpr char kPlayer1OnJoystick1[] = "[General]\nJoystick1=1\n";

// The games the program recorded, in its replay folder.
QStringList Replays(const Home& home) {
  QStringList found;
  for (QDirIterator it(home.Path("data"), {"*.kvr"}, QDir::Files, QDirIterator::Subdirectories);
       it.hasNext();)
    found << it.next();
  return found;
}

Replay ReadReplay(const QString& path) {
  const QByteArray bytes = desktop_process::ReadFile(path);
  return DecodeReplay(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                static_cast<std::size_t>(bytes.size())));
}

TEST(VirtualPad, StickAndButtonFlyTheShipOfAGameStartedFromTheKeyboard) {
  XServer x(XServer::Manager::Openbox);
  if (x.display().empty()) GTEST_SKIP() << "needs Xvfb, openbox and xdotool";
  PadSession session(x, kPlayer1OnJoystick1);
  ASSERT_FALSE(session.window().empty()) << session.program().Stderr().toStdString();
  ASSERT_TRUE(session.Keys("F2"));
  ASSERT_TRUE(session.CaptionIs("Kelvarok 2.10 - Round 1"));
  // Turn left and hold hyperspace (the spawn shield keeps the ship where it
  // is: nothing can score, so no name prompt ends the game).
  session.pad().Axis("leftx", -32768);
  session.pad().Hold("b", 60000);
  ASSERT_TRUE(session.PadRead());
  // Frames have read the controls since then; the game is then quit by the
  // menu, as Ctrl would fire.
  ASSERT_TRUE(WindowPictures(x).WaitForRepaints(session.window(), 3));
  ASSERT_TRUE(session.Keys("alt+g q"));
  ASSERT_TRUE(session.CaptionIs("Kelvarok 2.10"));
  QStringList replays;
  ASSERT_TRUE(WaitFor([&] { return (replays = Replays(session.home())).size() == 1; }));
  const Replay game = ReadReplay(replays.front());
  // The frames read left and hyperspace from the pad, and nothing else.
  ASSERT_EQ(game.controls.size(), 1u);
  EXPECT_EQ(ControlsFromBits(game.controls.front().bits),
            (ControlsSample{.hyperspace = true, .left = true}));
  ASSERT_TRUE(session.Close());
}

// Everything a keyboard player does in a session, with the pad alone: a game
// started, paused, resumed and quit; a name typed on the on-screen keyboard;
// the table closed; the volume changed in Sound; the last game watched and
// stopped; the program left by the Game menu.
TEST(VirtualPad, AWholeSessionWithThePadAlone) {
  XServer x(XServer::Manager::Openbox);
  if (x.display().empty()) GTEST_SKIP() << "needs Xvfb, openbox and xdotool";
  PadSession session(x, kPlayer1OnJoystick1);
  ASSERT_FALSE(session.window().empty()) << session.program().Stderr().toStdString();
  VirtualPad& pad = session.pad();
  const auto screenshot = [&](const char* name) {
    if (const QString dir = qEnvironmentVariable("KELVAROK_SCREENSHOT_DIR"); !dir.isEmpty())
      x.Run("import -window root " + dir.toStdString() + "/" + name + ".png");
  };
  // A game ends with a name prompt only when it scored: the pad turns and
  // fires for a few seconds of play, and the game is played again until one
  // has scored.
  std::optional<std::string> prompt;
  for (int game = 0; game < 6 && !prompt; ++game) {
    pad.Press("start");  // "1-Player start"
    ASSERT_TRUE(session.CaptionIs("Kelvarok 2.10 - Round 1"));
    pad.Press("start");  // "Pause"...
    pad.Press("start");  // ...and on again
    // Rocks moving: the introduction is over and the ship reads the pad.
    ASSERT_TRUE(session.PadRead());
    ASSERT_TRUE(WindowPictures(x).WaitForRepaints(session.window(), 2));
    pad.Axis("leftx", -32768);
    pad.Taps("a", 40, 60);
    pad.Axis("leftx", 0);
    ASSERT_TRUE(session.PadRead());
    // A repaint is a frame at the most: 100 of them outlast the 40 shots.
    ASSERT_TRUE(WindowPictures(x).WaitForRepaints(session.window(), 100));
    pad.Hold("back", 1200);  // "Quit game"
    // The prompt comes, or the game is kept in the replay folder as it ends
    // without one.
    ASSERT_TRUE(WaitFor([&] {
      return (prompt = x.ShownWindow("^High Score!$")) ||
             Replays(session.home()).size() == static_cast<qsizetype>(game) + 1;
    }));
  }
  ASSERT_TRUE(prompt) << "no game of six scored";
  // The pad counts once the prompt has the focus. The on-screen keyboard
  // shows, its A lit: A, two to the right C, two more E.
  const auto active = [&](const std::string& window) {
    return WaitFor([&] { return x.Xdotool("getactivewindow") == window; });
  };
  ASSERT_TRUE(active(*prompt));
  const WindowPictures pictures(x);
  const std::string empty = pictures.Take(*prompt);
  for (const char* button : {"a", "dpright", "dpright", "a", "dpright", "dpright", "a"})
    pad.Press(button);
  ASSERT_TRUE(WaitFor([&] { return pictures.Take(*prompt) != empty; }));
  screenshot("pad-name-prompt");
  pad.Press("start");  // OK
  ASSERT_TRUE(x.FindWindow("^High Scores$"));
  pad.Press("b");  // Ok
  ASSERT_TRUE(x.Gone("^High Scores$"));
  // Options, Sound...: its volume one step down.
  ASSERT_TRUE(active(session.window()));
  const std::string still = pictures.Take(session.window());
  pad.Press("guide");
  // The window shows the game's end and nothing moves but the menu.
  ASSERT_TRUE(WaitFor([&] { return pictures.Take(session.window()) != still; }));
  screenshot("pad-game-menu");
  for (const char* button : {"dpright", "dpdown", "dpdown", "a"}) pad.Press(button);
  ASSERT_TRUE(x.FindWindow("^Sound Effects$"));
  for (const char* button : {"dpup", "dpleft", "b"}) pad.Press(button);
  ASSERT_TRUE(x.Gone("^Sound Effects$"));
  // Watch last game, and stop it.
  pad.Press("y");
  ASSERT_TRUE(session.CaptionIs("Kelvarok 2.10 - Replay - Round 1"));
  pad.Hold("back", 1200);
  ASSERT_TRUE(session.CaptionIs("Kelvarok 2.10"));
  // Game, Exit: up from the first item comes round to the last.
  for (const char* button : {"guide", "dpup", "a"}) pad.Press(button);
  ASSERT_EQ(session.WaitForExit(), 0) << session.program().Stderr().toStdString();

  QSettings settings(session.home().Settings(), QSettings::IniFormat);
  EXPECT_EQ(settings.value("Name1").toString(), "ACE");
  EXPECT_GT(settings.value("Score1").toInt(), 0);
  EXPECT_EQ(settings.value("SoundVolume").toInt(), 60);
  // The game that scored read a pause, its end and a quit, and the name.
  const QStringList replays = Replays(session.home());
  const auto scored = std::ranges::find_if(
      replays, [](const QString& path) { return !ReadReplay(path).answers.empty(); });
  ASSERT_NE(scored, replays.end());
  const Replay game = ReadReplay(*scored);
  std::vector<FlowInput> inputs;
  for (const ReplayEvent& event : game.events) inputs.push_back(event.input);
  EXPECT_EQ(inputs, (std::vector{FlowInput::Pause1, FlowInput::Pause1, FlowInput::Quitgame1}));
  EXPECT_EQ(game.answers, (std::vector<ReplayAnswer>{{true, "ACE"}}));
}

}  // namespace
