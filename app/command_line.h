// The program's command line: the game, the demo, or a question about the
// program itself (--help, -h, --version), which needs no display.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <variant>

namespace kelvarok {

// How long the demo's pause lasts unless --pause-for says otherwise.
inline constexpr int kDefaultPauseForMs = 2000;

struct DemoOptions {
  std::optional<std::uint64_t> seed;
  std::optional<int> frames;            // end after this many frames of play
  std::optional<int> pauseAt;           // pause at this frame...
  int pauseForMs = kDefaultPauseForMs;  // ...and go on after this long
  std::optional<int> focusLossAt;       // the window loses the focus at this frame
                                        // and regains it after pauseForMs
  bool openMenu = false;                // show the Game menu open in the screenshot
  QString screenshot;                   // save the whole window here at the end
  QString frameLog;                     // one line per frame played, written as it goes
  QString record;                       // the game's replay file
};

struct CommandLine {
  enum class Request { Run, Help, Version };
  Request request = Request::Run;
  std::optional<DemoOptions> demo;  // nothing: the game itself
  QString replay;                   // a recorded game to watch
  QString virtualController;        // the script of a virtual game controller
};

struct CommandLineError {
  QString message;
};

inline constexpr char kUsage[] =
    "usage: kelvarok [--virtual-controller SCRIPT]\n"
    "       kelvarok --demo [--seed N] [--frames N] [--screenshot FILE.png] [--frame-log FILE]\n"
    "                       [--pause-at N] [--focus-loss-at N] [--pause-for MS]\n"
    "                       [--record FILE.kvr] [--open-menu] [--virtual-controller SCRIPT]\n"
    "       kelvarok --replay FILE.kvr [--virtual-controller SCRIPT]\n"
    "       kelvarok --help | -h | --version\n";

inline constexpr char kHelp[] =
    "Without options kelvarok opens the game's window. Only one copy runs at a\n"
    "time: starting another brings the running one to the front.\n"
    "\n"
    "  --demo             the autopilot plays one player; your settings and high\n"
    "                     scores are never read or written; without --frames the\n"
    "                     demo plays until its window is closed\n"
    "  --seed N           seed of the game's random generator (default 1)\n"
    "  --frames N         end the demo after N frames of play (40 ms each)\n"
    "  --screenshot FILE  save the window as a PNG picture when the demo ends\n"
    "                     (exit status 1 when it cannot be written)\n"
    "  --frame-log FILE   write one line per frame: its start on the monotonic\n"
    "                     clock in microseconds and its phase (play, crash,\n"
    "                     warmup, bonus); exit status 1 when it cannot be written\n"
    "  --pause-at N       pause the game at frame N...\n"
    "  --focus-loss-at N  take the focus from the window at frame N...\n"
    "  --pause-for MS     ...for MS milliseconds (default 2000), then go on\n"
    "  --record FILE      write the demo's game as a replay file\n"
    "  --open-menu        show the Game menu open at the end of the demo\n"
    "  --replay FILE      watch a recorded game (F4 pauses, Ctrl+Q stops); your\n"
    "                     settings and high scores are not changed\n"
    "  --virtual-controller SCRIPT\n"
    "                     attach a virtual game controller that the lines of\n"
    "                     SCRIPT drive, also lines appended while the program\n"
    "                     runs: MS button NAME down|up, MS axis NAME VALUE,\n"
    "                     MS unplug, MS plug (SDL's game-controller names such\n"
    "                     as a, b, start, back, dpup, leftx; values -32768 to\n"
    "                     32767); MS counts from the start, +MS from the line\n"
    "                     before; a bad line: exit status 2 before the window\n"
    "                     opens\n"
    "  -h, --help         show this help and exit\n"
    "  --version          show the program's version and exit\n";

// arguments without the program name.
std::variant<CommandLine, CommandLineError> ParseCommandLine(const QStringList& arguments);

}  // namespace kelvarok
