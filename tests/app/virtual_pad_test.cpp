// The real program with a virtual game controller, under openbox on Xvfb: the
// lines a test appends to the controller's script reach the game as a pad's
// would.
#include <gtest/gtest.h>

#include <QDirIterator>
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
  const QByteArray bytes = desktop_process::ReadFile(replays.front());
  const Replay game = DecodeReplay(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                             static_cast<std::size_t>(bytes.size())));
  // The frames read left and hyperspace from the pad, and nothing else.
  ASSERT_EQ(game.controls.size(), 1u);
  EXPECT_EQ(ControlsFromBits(game.controls.front().bits),
            (ControlsSample{.hyperspace = true, .left = true}));
  ASSERT_TRUE(session.Close());
}

}  // namespace
