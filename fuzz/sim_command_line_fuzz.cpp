// Fuzzes the command line of kelvarok-sim: the input's NUL-separated pieces
// are the arguments after the program name.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/arguments.h"
#include "fuzz/fuzz_check.h"
#include "tools/sim/command_line.h"

using kelvarok::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> arguments = kelvarok::fuzz::SplitArguments(data, size);
  std::vector<const char*> argv{"kelvarok-sim"};
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  kelvarok::sim::CommandLine cl;
  const auto problem =
      kelvarok::sim::ParseCommandLine(static_cast<int>(argv.size()), argv.data(), cl);
  if (problem) {
    Check(!problem->empty(), "a refusal gives its reason");
    return 0;
  }
  for (const kelvarok::sim::Snapshot& snapshot : cl.options.snapshots)
    Check(!snapshot.path.empty(), "a snapshot names its file");
  for (const std::string* name :
       {&cl.scriptPath, &cl.settingsPath, &cl.tracePath, &cl.audioPath, &cl.replayPath})
    Check(kelvarok::fuzz::MayBeAName(*name, arguments), "a name like an option only after --");
  return 0;
}
