// Scripts of kelvarok-mix render: one command a line, "MS COMMAND ...", with
// "#" starting a comment.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kelvarok {

struct ScriptCommand {
  enum class Kind { Open, OpenAll, OpenCount, Load, Free, Activate, Play, Flush, Close, End };
  int line = 0;
  std::uint32_t ms = 0;
  Kind kind = Kind::End;
  std::int32_t channel = 0;
  bool all_channels = false;
  bool on = false;
  std::string name;
  std::string file;
  std::uint32_t flags = 0;  // play flags, or MixFlushNoRemix
  std::uint16_t loops = 0;
};

// A malformed line: what() is "line N: " and the reason.
class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The commands in order. Times never go backwards, a wave is named by a load
// line before it is used, and nothing follows "end".
std::vector<ScriptCommand> ParseScript(std::string_view text);

// Reads and parses a script file for the command-line tools. On failure the
// reason is on stderr (prefixed with the program's name where it is the
// file's fault) and exit_status says how the tool ends: 1 for an unreadable
// file, 2 for a directory or a malformed line.
std::optional<std::vector<ScriptCommand>> LoadScriptFile(const std::string& path,
                                                         std::string_view program,
                                                         int& exit_status);

// The text of the INI file a tool was given ("" without one, and for a
// missing file, which gives every default). A file that exists but is
// refused gives nothing, with the reason on stderr.
std::optional<std::string> LoadIniFile(const std::optional<std::string>& path,
                                       std::string_view program);

}  // namespace kelvarok
