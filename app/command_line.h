// The program's command line:
//   kelvarok                     the game
//   kelvarok --demo [--seed N] [--frames N] [--screenshot FILE.png]
//            [--pause-at N [--pause-for MS]] [--open-menu]
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
  bool openMenu = false;                // show the Game menu open in the screenshot
  QString screenshot;                   // save the whole window here at the end
};

struct CommandLine {
  std::optional<DemoOptions> demo;  // nothing: the game itself
};

struct CommandLineError {
  QString message;
};

inline constexpr char kUsage[] =
    "usage: kelvarok [--demo [--seed N] [--frames N] [--screenshot FILE.png]\n"
    "                        [--pause-at N [--pause-for MS]] [--open-menu]]\n";

// arguments without the program name.
std::variant<CommandLine, CommandLineError> ParseCommandLine(const QStringList& arguments);

}  // namespace kelvarok
