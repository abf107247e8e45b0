// The command line of kelvarok-sim.
#pragma once

#include <optional>
#include <string>

#include "sim/simulator.h"

namespace kelvarok::sim {

struct CommandLine {
  SimOptions options;
  std::string scriptPath;
  std::string settingsPath;
  std::string tracePath;
  std::string audioPath;
  std::string replayPath;
  // Every game played is written there as 1.kvr, 2.kvr, ... in play order.
  std::string recordGamesDir;
  // With a replay: the exit status says whether the game ended as recorded.
  bool verify = false;
};

// argv as main receives it, argv[0] the program's name. Returns what is wrong
// with the arguments, or nothing when they are good.
std::optional<std::string> ParseCommandLine(int argc, const char* const* argv, CommandLine& cl);

}  // namespace kelvarok::sim
