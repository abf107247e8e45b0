// The command line of kelvarok-mix.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "sound/mixer_types.h"

namespace kelvarok {

inline constexpr const char* kMixUsage =
    "usage: kelvarok-mix convert [--ini FILE] [--channels 1|2] [--rate 11|22|44] IN.wav OUT.raw\n"
    "       kelvarok-mix render  [--ini FILE] [--channels 1|2] [--rate 11|22|44] [--log FILE] "
    "SCRIPT OUT.raw\n";

struct MixOptions {
  enum class Mode { Convert, Render } mode = Mode::Convert;
  std::optional<std::string> ini;
  std::optional<std::string> log;
  TMixConfig config;  // size 10, a flag for each of --channels and --rate given
  std::string input;
  std::string output;
};

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The arguments after the program name.
MixOptions ParseMixOptions(const std::vector<std::string>& arguments);

}  // namespace kelvarok
