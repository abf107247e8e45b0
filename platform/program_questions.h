// The questions every program of the project answers alike, wherever they
// stand before a "--": -h and --help print the usage and help on standard
// output, --version the program's name and the project's version.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kelvarok {

enum class ProgramQuestion { Help, Version };

// The last words of every program's help: what "--" means.
inline constexpr char kEndOfOptionsHelp[] =
    "Every argument after -- is a value or a file name, never an option; a value\n"
    "or file name that starts with - is taken only there. -- may stand where an\n"
    "option expects its value.\n";

// The first question among the arguments (without the program's name) before
// any "--"; after "--" "--help" is a file name.
std::optional<ProgramQuestion> FindProgramQuestion(const std::vector<std::string>& arguments);

// The exit status (0) when the command line asked a question and it was
// answered; nothing when the program should run. help is the whole text but
// kEndOfOptionsHelp, which follows it.
std::optional<int> AnswerProgramQuestion(int argc, const char* const* argv, const char* name,
                                         const char* help);

// For a program that takes one file name and no options: "PROGRAM FILE" or
// "PROGRAM -- FILE", read as ArgumentReader reads every command line. Nothing
// for any other command line.
std::optional<std::string> SoleFileArgument(int argc, const char* const* argv);

}  // namespace kelvarok
