#include "tools/mix/mix_options.h"

namespace kelvarok {

MixOptions ParseMixOptions(const std::vector<std::string>& arguments) {
  if (arguments.empty()) throw UsageError("missing command");
  MixOptions options;
  if (arguments[0] == "render") {
    options.mode = MixOptions::Mode::Render;
  } else if (arguments[0] != "convert") {
    throw UsageError("unknown command " + arguments[0]);
  }
  std::vector<std::string> files;
  bool onlyFiles = false;  // after "--"
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (onlyFiles || argument.empty() || argument[0] != '-') {
      files.push_back(argument);
      continue;
    }
    if (argument == "--") {
      onlyFiles = true;
      continue;
    }
    if (i + 1 == arguments.size()) throw UsageError(argument + " needs a value");
    const std::string& value = arguments[++i];
    if (argument == "--ini") {
      options.ini = value;
    } else if (argument == "--log" && options.mode == MixOptions::Mode::Render) {
      options.log = value;
    } else if (argument == "--channels") {
      if (value != "1" && value != "2") throw UsageError("--channels must be 1 or 2");
      options.config.dwFlags |= MixConfigChannels;
      options.config.wChannels = static_cast<std::uint16_t>(std::stoi(value));
    } else if (argument == "--rate") {
      if (value != "11" && value != "22" && value != "44") {
        throw UsageError("--rate must be 11, 22 or 44");
      }
      options.config.dwFlags |= MixConfigSamplingRate;
      options.config.wSamplingRate = static_cast<std::uint16_t>(std::stoi(value));
    } else {
      throw UsageError("unknown option " + argument);
    }
  }
  if (files.size() != 2) throw UsageError("expected an input and an output file");
  options.input = files[0];
  options.output = files[1];
  return options;
}

}  // namespace kelvarok
