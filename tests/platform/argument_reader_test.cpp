// The command line as every program reads it: options, their values, file
// names, and "--", after which nothing is an option.
#include <gtest/gtest.h>

#include "platform/argument_reader.h"
#include "platform/program_questions.h"

namespace kelvarok {
namespace {

// Reads the arguments as a program with one option taking a value (--value)
// and one flag (--flag) would: "--value=V", "--value=!" for a missing value,
// "--flag", "file:NAME", separated by spaces.
std::string Read(std::vector<std::string> arguments) {
  ArgumentReader reader(std::move(arguments));
  std::string seen;
  while (!reader.AtEnd()) {
    if (!seen.empty()) seen += ' ';
    if (!reader.AtOption()) {
      seen += "file:" + reader.Take();
      continue;
    }
    const std::string option = reader.Take();
    seen += option;
    if (option == "--value") seen += "=" + reader.TakeValue().value_or("!");
  }
  return seen;
}

TEST(ArgumentReaderTest, DoubleDashMakesEveryLaterArgumentAValueOrAFile) {
  const struct {
    std::vector<std::string> arguments;
    std::string seen;
  } cases[] = {
      {{}, ""},
      {{"--value", "v", "--flag", "a.png"}, "--value=v --flag file:a.png"},
      {{"--value", "-x.png"}, "--value=! -x.png"},  // an option, never a value
      {{"--value", "--flag"}, "--value=! --flag"},
      {{"--value", "--", "-x.png"}, "--value=-x.png"},
      {{"--value", "--", "--flag"}, "--value=--flag"},
      {{"--value", "--"}, "--value=!"},
      {{"--value", ""}, "--value=! file:"},
      {{"--flag", "--", "-x.png", "--value", "--"}, "--flag file:-x.png file:--value file:--"},
      {{"--", "--flag"}, "file:--flag"},
      {{"-", "--value", "-"}, "file:- --value=-"},  // a lone "-" is a name
      {{"a", "--", "b"}, "file:a file:b"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.arguments));
    EXPECT_EQ(Read(c.arguments), c.seen);
  }
}

TEST(ArgumentReaderTest, QuestionsCountOnlyBeforeDoubleDash) {
  using Q = std::optional<ProgramQuestion>;
  const struct {
    std::vector<std::string> arguments;
    Q question;
  } cases[] = {
      {{"--demo", "--screenshot", "--help"}, ProgramQuestion::Help},
      {{"a", "-h", "--version"}, ProgramQuestion::Help},
      {{"--version", "--help"}, ProgramQuestion::Version},
      {{"--screenshot", "--", "--help"}, Q{}},
      {{"--", "--version"}, Q{}},
      {{"-help", "--helps"}, Q{}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.arguments));
    EXPECT_EQ(FindProgramQuestion(c.arguments), c.question);
  }
}

}  // namespace
}  // namespace kelvarok
