// Fuzz input as a command line: the arguments are the input's pieces between
// NUL bytes, as the system hands them to a program.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kelvarok::fuzz {

inline std::vector<std::string> SplitArguments(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> arguments;
  if (size == 0) return arguments;
  arguments.emplace_back();
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      arguments.emplace_back();
    } else {
      arguments.back().push_back(static_cast<char>(data[i]));
    }
  }
  return arguments;
}

// Whether a program may have taken `name` as a value or a file name from these
// arguments: a name that looks like an option ("-x", not "-") only after "--".
inline bool MayBeAName(const std::string& name, const std::vector<std::string>& arguments) {
  const bool optionLike = name.size() > 1 && name[0] == '-';
  return !optionLike || std::find(arguments.begin(), arguments.end(), "--") != arguments.end();
}

}  // namespace kelvarok::fuzz
