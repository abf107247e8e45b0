#include "tools/mix/mix_options.h"

#include "platform/argument_reader.h"

namespace kelvarok {

MixOptions ParseMixOptions(const std::vector<std::string>& arguments) {
  ArgumentReader reader(arguments);
  if (reader.AtEnd()) throw UsageError("missing command");
  MixOptions options;
  const std::string command = reader.Take();
  if (command == "render") {
    options.mode = MixOptions::Mode::Render;
  } else if (command != "convert") {
    throw UsageError("unknown command " + command);
  }
  std::vector<std::string> files;
  while (!reader.AtEnd()) {
    if (!reader.AtOption()) {
      files.push_back(reader.Take());
      continue;
    }
    const std::string argument = reader.Take();
    const bool render = options.mode == MixOptions::Mode::Render;
    if (argument != "--ini" && argument != "--channels" && argument != "--rate" &&
        !(argument == "--log" && render))
      throw UsageError("unknown option " + argument);
    const std::optional<std::string> value = reader.TakeValue();
    if (!value) throw UsageError(argument + " needs a value");
    if (argument == "--ini") {
      options.ini = value;
    } else if (argument == "--log") {
      options.log = value;
    } else if (argument == "--channels") {
      if (value != "1" && value != "2") throw UsageError("--channels must be 1 or 2");
      options.config.dwFlags |= MixConfigChannels;
      options.config.wChannels = static_cast<std::uint16_t>(std::stoi(*value));
    } else {
      if (value != "11" && value != "22" && value != "44") {
        throw UsageError("--rate must be 11, 22 or 44");
      }
      options.config.dwFlags |= MixConfigSamplingRate;
      options.config.wSamplingRate = static_cast<std::uint16_t>(std::stoi(*value));
    }
  }
  if (files.size() != 2) throw UsageError("expected an input and an output file");
  options.input = files[0];
  options.output = files[1];
  return options;
}

}  // namespace kelvarok
