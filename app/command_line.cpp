#include "app/command_line.h"

#include <string>
#include <vector>

#include "platform/argument_reader.h"
#include "platform/program_questions.h"

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
  std::vector<std::string> texts;
  for (const QString& argument : arguments) texts.push_back(argument.toStdString());
  CommandLine line;
  // A question about the program wins wherever it stands before "--", so that
  // no option takes "--help" as its value.
  if (const auto question = FindProgramQuestion(texts)) {
    line.request = *question == ProgramQuestion::Help ? CommandLine::Request::Help
                                                      : CommandLine::Request::Version;
    return line;
  }
  ArgumentReader reader(std::move(texts));
  if (reader.AtEnd()) return line;
  const auto unknown = [](const std::string& argument) {
    return CommandLineError{QString("unknown argument '%1'").arg(QString::fromStdString(argument))};
  };
  if (!reader.AtOption()) return unknown(reader.Take());
  const std::string mode = reader.Take();
  if (mode == "--replay") {
    const std::optional<std::string> file = reader.TakeValue();
    if (!file || !reader.AtEnd()) return CommandLineError{"'--replay' needs one replay file"};
    line.replay = QString::fromStdString(*file);
    return line;
  }
  if (mode != "--demo") return unknown(mode);
  DemoOptions demo;
  while (!reader.AtEnd()) {
    if (!reader.AtOption()) return unknown(reader.Take());
    const std::string option = reader.Take();
    if (option == "--open-menu") {
      demo.openMenu = true;
      continue;
    }
    const QString name = QString::fromStdString(option);
    const std::optional<std::string> text = reader.TakeValue();
    if (!text) return CommandLineError{QString("'%1' needs a value").arg(name)};
    const QString value = QString::fromStdString(*text);
    const auto bad = [&] {
      return CommandLineError{QString("bad value '%1' for '%2'").arg(value, name)};
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
      demo.frameLog = value;
    } else if (option == "--record") {
      demo.record = value;
    } else if (option == "--screenshot") {
      demo.screenshot = value;
    } else {
      return unknown(option);
    }
  }
  line.demo = demo;
  return line;
}

}  // namespace kelvarok
