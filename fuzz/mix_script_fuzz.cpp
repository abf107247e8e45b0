// Fuzzes the script parser of kelvarok-mix render: any text either parses
// into commands whose times never go back, that use only waves loaded before
// and end at most once, at the end; or is refused naming its line.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "sim/mix/mix_script.h"

using kelvarok::ScriptCommand;
using kelvarok::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<ScriptCommand> commands;
  try {
    commands = kelvarok::ParseScript(text);
  } catch (const kelvarok::ScriptError& error) {
    Check(std::string_view(error.what()).starts_with("line "), "an error names its line");
    return 0;
  }
  std::set<std::string> loaded;
  for (std::size_t i = 0; i < commands.size(); ++i) {
    const ScriptCommand& command = commands[i];
    Check(i == 0 || commands[i - 1].ms <= command.ms, "times never go back");
    Check(i == 0 || commands[i - 1].line < command.line, "commands in the order of their lines");
    Check(command.kind != ScriptCommand::Kind::End || i + 1 == commands.size(),
          "nothing follows end");
    if (command.kind == ScriptCommand::Kind::Load) loaded.insert(command.name);
    if (command.kind == ScriptCommand::Kind::Free || command.kind == ScriptCommand::Kind::Play)
      Check(loaded.count(command.name) == 1, "a wave is loaded before it is used");
  }
  return 0;
}
