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
    "SCRIPT OUT.raw\n"
    "       kelvarok-mix --help | -h | --version\n";

inline constexpr const char* kMixHelp =
    "\n"
    "Runs the game's software mixer on one virtual device. Output is raw 8-bit\n"
    "unsigned PCM, mono or interleaved stereo.\n"
    "  convert            writes the wave's samples converted to the output format\n"
    "  render             runs SCRIPT (MS COMMAND ... lines) on a virtual clock and\n"
    "                     writes the bytes the device played\n"
    "  --ini FILE         the WAVEMIX.INI to read (none: every default)\n"
    "  --channels 1|2     mono or stereo output\n"
    "  --rate 11|22|44    11025, 22050 or 44100 samples a second\n"
    "  --log FILE         render: one line per device operation\n"
    "  -h, --help         show this help and exit\n"
    "  --version          show the version and exit\n";

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
