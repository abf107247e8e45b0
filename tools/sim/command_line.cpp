#include "tools/sim/command_line.h"

#include <charconv>
#include <string_view>

#include "platform/argument_reader.h"

namespace kelvarok::sim {
namespace {

template <typename T>
bool ParseNumber(std::string_view text, T& value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return !text.empty() && ec == std::errc{} && ptr == end;
}

}  // namespace

std::optional<std::string> ParseCommandLine(int argc, const char* const* argv, CommandLine& cl) {
  ArgumentReader reader(argc, argv);
  while (!reader.AtEnd()) {
    if (!reader.AtOption()) return "unexpected argument '" + reader.Take() + "'";
    const std::string arg = reader.Take();
    if (arg == "--autopilot") {
      cl.options.autopilot = true;
      continue;
    }
    if (arg == "--verify") {
      cl.verify = true;
      continue;
    }
    if (arg != "--seed" && arg != "--script" && arg != "--settings" && arg != "--until" &&
        arg != "--trace" && arg != "--snapshot" && arg != "--audio" && arg != "--replay")
      return "unknown option '" + arg + "'";
    const std::optional<std::string> value = reader.TakeValue();
    if (!value) return arg + " needs a value";
    const std::string_view text = *value;
    if (arg == "--seed") {
      if (!ParseNumber(text, cl.options.seed)) return "bad seed '" + *value + "'";
    } else if (arg == "--script") {
      cl.scriptPath = text;
    } else if (arg == "--settings") {
      cl.settingsPath = text;
    } else if (arg == "--until") {
      std::uint32_t until = 0;
      if (!ParseNumber(text, until)) return "bad time '" + *value + "'";
      cl.options.until = until;
    } else if (arg == "--trace") {
      cl.tracePath = text;
    } else if (arg == "--audio") {
      cl.audioPath = text;
    } else if (arg == "--replay") {
      cl.replayPath = text;
    } else {
      const std::size_t colon = text.find(':');
      Snapshot snapshot;
      if (colon == std::string_view::npos || colon + 1 == text.size() ||
          !ParseNumber(text.substr(0, colon), snapshot.time))
        return "expected --snapshot MS:FILE.png";
      snapshot.path = text.substr(colon + 1);
      cl.options.snapshots.push_back(snapshot);
    }
  }
  if (cl.verify && cl.replayPath.empty()) return "--verify needs --replay";
  if (!cl.replayPath.empty() &&
      (cl.options.autopilot || !cl.scriptPath.empty() || !cl.settingsPath.empty()))
    return "--replay plays the recorded game: no --autopilot, --script or --settings";
  return std::nullopt;
}

}  // namespace kelvarok::sim
