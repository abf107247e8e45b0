// Fuzzes the command line of kelvarok-mix: the input's NUL-separated pieces
// are the arguments after the program name. A command line is refused with a
// reason, or names its two files and only formats the mixer can make.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/arguments.h"
#include "fuzz/fuzz_check.h"
#include "tools/mix/mix_options.h"

using namespace kelvarok;
using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> arguments = fuzz::SplitArguments(data, size);
  MixOptions options;
  try {
    options = ParseMixOptions(arguments);
  } catch (const UsageError& error) {
    Check(error.what()[0] != '\0', "a refusal gives its reason");
    return 0;
  }
  const TMixConfig& config = options.config;
  Check(config.wSize == kMixConfigSize, "a configuration record of the mixer's size");
  Check((config.dwFlags & MixConfigChannels) == 0 || config.wChannels == 1 || config.wChannels == 2,
        "one or two channels");
  Check((config.dwFlags & MixConfigSamplingRate) == 0 || config.wSamplingRate == 11 ||
            config.wSamplingRate == 22 || config.wSamplingRate == 44,
        "a rate code of 11, 22 or 44");
  Check(!options.log || options.mode == MixOptions::Mode::Render, "a log only for render");
  for (const std::string& name :
       {options.ini.value_or(""), options.log.value_or(""), options.input, options.output})
    Check(fuzz::MayBeAName(name, arguments), "a name like an option only after --");
  return 0;
}
