// Fuzzes the desktop program's command line: the input's NUL-separated
// pieces, read as UTF-8, are the arguments after the program name.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/command_line.h"
#include "fuzz/arguments.h"
#include "fuzz/fuzz_check.h"

using kelvarok::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> pieces = kelvarok::fuzz::SplitArguments(data, size);
  QStringList arguments;
  for (const std::string& argument : pieces)
    arguments.append(QString::fromUtf8(argument.data(), static_cast<qsizetype>(argument.size())));
  const auto parsed = kelvarok::ParseCommandLine(arguments);
  if (const auto* error = std::get_if<kelvarok::CommandLineError>(&parsed)) {
    Check(!error->message.isEmpty(), "a refusal gives its reason");
    return 0;
  }
  const kelvarok::CommandLine& line = std::get<kelvarok::CommandLine>(parsed);
  if (line.request == kelvarok::CommandLine::Request::Run && !line.demo && line.replay.isEmpty() &&
      line.virtualController.isEmpty())
    Check(arguments.isEmpty() || arguments == QStringList{"--"}, "only no arguments run the game");
  Check(!line.demo || line.replay.isEmpty(), "the demo or a replay, never both");
  const auto mayBeAName = [&](const QString& name) {
    return kelvarok::fuzz::MayBeAName(name.toStdString(), pieces);
  };
  Check(mayBeAName(line.replay), "a name like an option only after --");
  Check(mayBeAName(line.virtualController), "a name like an option only after --");
  if (line.demo) {
    Check(line.demo->frames.value_or(0) >= 0, "a frame count is not negative");
    Check(line.demo->pauseAt.value_or(0) >= 0, "a pause frame is not negative");
    for (const QString* name : {&line.demo->screenshot, &line.demo->frameLog, &line.demo->record})
      Check(mayBeAName(*name), "a name like an option only after --");
  }
  return 0;
}
