// The questions every program of the project answers alike, wherever they
// stand before a "--": -h and --help print the usage and help on standard
// output, --version the program's name and the project's version.
#pragma once

#include <optional>
#include <string>

namespace kelvarok {

// The exit status (0) when the command line asked a question and it was
// answered; nothing when the program should run. help is the whole text.
std::optional<int> AnswerProgramQuestion(int argc, const char* const* argv, const char* name,
                                         const char* help);

// For a program that takes one file name: "PROGRAM FILE" or "PROGRAM -- FILE".
// A name that starts with "-" counts only after "--", so that a mistyped
// option never becomes a file. Nothing for any other command line.
std::optional<std::string> SoleFileArgument(int argc, const char* const* argv);

}  // namespace kelvarok
