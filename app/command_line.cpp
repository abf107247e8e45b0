#include "app/command_line.h"

namespace kelvarok {
namespace {

template <typename Number>
std::optional<Number> ParseNumber(const QString& text) {
  bool ok = false;
  const qulonglong value = text.toULongLong(&ok, 10);
  if (!ok || value > static_cast<qulonglong>(std::numeric_limits<Number>::max()))
    return std::nullopt;
  return static_cast<Number>(value);
}

}  // namespace

std::variant<CommandLine, CommandLineError> ParseCommandLine(const QStringList& arguments) {
  CommandLine line;
  // A question about the program wins wherever it stands, so that no option
  // takes "--help" as its value.
  for (const QString& argument : arguments) {
    if (argument == "--help" || argument == "-h") {
      line.request = CommandLine::Request::Help;
      return line;
    }
    if (argument == "--version") {
      line.request = CommandLine::Request::Version;
      return line;
    }
  }
  if (arguments.isEmpty()) return line;
  if (arguments.first() == "--replay") {
    if (arguments.size() != 2 || arguments[1].startsWith('-'))
      return CommandLineError{"'--replay' needs one replay file"};
    line.replay = arguments[1];
    return line;
  }
  if (arguments.first() != "--demo")
    return CommandLineError{QString("unknown argument '%1'").arg(arguments.first())};
  DemoOptions demo;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& option = arguments[i];
    if (option == "--open-menu") {
      demo.openMenu = true;
      continue;
    }
    if (i + 1 >= arguments.size())
      return CommandLineError{QString("'%1' needs a value").arg(option)};
    const QString& value = arguments[++i];
    const auto bad = [&] {
      return CommandLineError{QString("bad value '%1' for '%2'").arg(value, option)};
    };
    if (option == "--seed") {
      if (!(demo.seed = ParseNumber<std::uint64_t>(value))) return bad();
    } else if (option == "--frames") {
      if (!(demo.frames = ParseNumber<int>(value))) return bad();
    } else if (option == "--pause-at") {
      if (!(demo.pauseAt = ParseNumber<int>(value))) return bad();
    } else if (option == "--focus-loss-at") {
      if (!(demo.focusLossAt = ParseNumber<int>(value))) return bad();
    } else if (option == "--pause-for") {
      const auto ms = ParseNumber<int>(value);
      if (!ms) return bad();
      demo.pauseForMs = *ms;
    } else if (option == "--frame-log") {
      if (value.startsWith('-')) return bad();
      demo.frameLog = value;
    } else if (option == "--record") {
      if (value.startsWith('-')) return bad();
      demo.record = value;
    } else if (option == "--screenshot") {
      // An option's name given where a file name belongs is a mistake.
      if (value.startsWith('-')) return bad();
      demo.screenshot = value;
    } else {
      return CommandLineError{QString("unknown argument '%1'").arg(option)};
    }
  }
  line.demo = demo;
  return line;
}

}  // namespace kelvarok
