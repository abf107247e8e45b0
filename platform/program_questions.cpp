#include "platform/program_questions.h"

#include <cstdio>

#include "kelvarok_version.h"
#include "platform/argument_reader.h"

namespace kelvarok {

std::optional<ProgramQuestion> FindProgramQuestion(const std::vector<std::string>& arguments) {
  for (const std::string& argument : arguments) {
    if (argument == "--") break;
    if (argument == "-h" || argument == "--help") return ProgramQuestion::Help;
    if (argument == "--version") return ProgramQuestion::Version;
  }
  return std::nullopt;
}

std::optional<int> AnswerProgramQuestion(int argc, const char* const* argv, const char* name,
                                         const char* help) {
  if (argc < 1) return std::nullopt;
  const auto question = FindProgramQuestion(std::vector<std::string>(argv + 1, argv + argc));
  if (!question) return std::nullopt;
  if (*question == ProgramQuestion::Help) {
    std::fputs(help, stdout);
    std::fputs(kEndOfOptionsHelp, stdout);
  } else {
    std::printf("%s %s\n", name, kProgramVersion);
  }
  return 0;
}

std::optional<std::string> SoleFileArgument(int argc, const char* const* argv) {
  ArgumentReader reader(argc, argv);
  if (reader.AtEnd() || reader.AtOption()) return std::nullopt;
  std::string file = reader.Take();
  if (file.empty() || !reader.AtEnd()) return std::nullopt;
  return file;
}

}  // namespace kelvarok
