// Runs a parsed script against a mixer, one millisecond at a time from 0.
// Mixer errors are reported and the run goes on.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "sim/mix/mix_script.h"
#include "sound/mixer_module.h"

namespace kelvarok {

// Where the time of a run comes from.
class ScriptHost {
 public:
  virtual ~ScriptHost() = default;
  // Moves time on by one millisecond and lets the device play it.
  virtual void AdvanceOneMillisecond() = 0;
};

struct ScriptRun {
  MixerModule& mixer;
  WindowMessages& messages;
  ScriptHost& host;
  TMixConfig config;
  // Relative wave file names are taken from here.
  std::filesystem::path base_directory;
  std::function<void(const std::string& message)> error;
};

// Creates the session, runs the commands (each in the millisecond it names,
// after that millisecond's block-done messages), then frees every wave and
// closes the session at the time of the last command.
void RunScript(const std::vector<ScriptCommand>& commands, const ScriptRun& run);

}  // namespace kelvarok
