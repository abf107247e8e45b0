#include "platform/program_questions.h"

#include <cstdio>
#include <string_view>

#include "kelvarok_version.h"

namespace kelvarok {

std::optional<int> AnswerProgramQuestion(int argc, const char* const* argv, const char* name,
                                         const char* help) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--") break;
    if (argument == "-h" || argument == "--help") {
      std::fputs(help, stdout);
      return 0;
    }
    if (argument == "--version") {
      std::printf("%s %s\n", name, kProgramVersion);
      return 0;
    }
  }
  return std::nullopt;
}

std::optional<std::string> SoleFileArgument(int argc, const char* const* argv) {
  if (argc == 2 && argv[1][0] != '-' && argv[1][0] != '\0') return argv[1];
  if (argc == 3 && std::string_view(argv[1]) == "--" && argv[2][0] != '\0') return argv[2];
  return std::nullopt;
}

}  // namespace kelvarok
