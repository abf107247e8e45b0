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
  const auto unknown = [](const std::string& argument) {
    return CommandLineError{QString("unknown argument '%1'").arg(QString::fromStdString(argument))};
  };
  // --virtual-controller goes with every mode, before or after it; the
  // demo's options follow --demo.
  std::optional<DemoOptions> demo;
  const CommandLineError oneReplay{"'--replay' needs one replay file"};
  while (!reader.AtEnd()) {
    if (!reader.AtOption()) return line.replay.isEmpty() ? unknown(reader.Take()) : oneReplay;
    const std::string option = reader.Take();
    const bool modeGiven = demo || !line.replay.isEmpty();
    if ((option == "--demo" || option == "--replay") && modeGiven)
      return CommandLineError{"'--demo' and '--replay' go alone"};
    if (option == "--demo") {
      demo.emplace();
      continue;
    }
    if (option == "--open-menu" && demo) {
      demo->openMenu = true;
      continue;
    }
    const QString name = QString::fromStdString(option);
    const std::optional<std::string> text = reader.TakeValue();
    if (option == "--replay") {
      if (!text) return oneReplay;
      line.replay = QString::fromStdString(*text);
      continue;
    }
    if (!line.replay.isEmpty() && option != "--virtual-controller") return oneReplay;
    if (option != "--virtual-controller" && !demo) return unknown(option);
    if (!text) return CommandLineError{QString("'%1' needs a value").arg(name)};
    const QString value = QString::fromStdString(*text);
    const auto bad = [&] {
      return CommandLineError{QString("bad value '%1' for '%2'").arg(value, name)};
    };
    if (option == "--virtual-controller") {
      if (!line.virtualController.isEmpty())
        return CommandLineError{"'--virtual-controller' takes one script"};
      line.virtualController = value;
    } else if (option == "--seed") {
      if (!(demo->seed = ParseNumber<std::uint64_t>(value))) return bad();
    } else if (option == "--frames") {
      if (!(demo->frames = ParseNumber<int>(value))) return bad();
    } else if (option == "--pause-at") {
      if (!(demo->pauseAt = ParseNumber<int>(value))) return bad();
    } else if (option == "--focus-loss-at") {
      if (!(demo->focusLossAt = ParseNumber<int>(value))) return bad();
    } else if (option == "--pause-for") {
      const auto ms = ParseNumber<int>(value);
      if (!ms) return bad();
      demo->pauseForMs = *ms;
    } else if (option == "--frame-log") {
      demo->frameLog = value;
    } else if (option == "--record") {
      demo->record = value;
    } else if (option == "--screenshot") {
      demo->screenshot = value;
    } else {
      return unknown(option);
    }
  }
  line.demo = demo;
  return line;
}

}  // namespace kelvarok
