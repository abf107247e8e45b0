// The one-way order of the project's folders, checked over the "#include"
// lines of every source and header.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvarok {

// A folder of the project and its rank: a file may include the files of its
// own folder and of folders of a lower rank, never of the same rank (siblings)
// or a higher one. A folder nested in another (assets/sounds in assets) is a
// folder of its own.
struct RankedFolder {
  std::string_view path;
  int rank;
};

// The sound generator is a program over platform/, ranked just above it. The
// mixer (sound) plays the effects the game names.
inline constexpr std::array kRankedFolders = {
    RankedFolder{"platform", 0},
    RankedFolder{"assets/sounds", 0},
    RankedFolder{"game", 1},
    RankedFolder{"sound", 2},
    RankedFolder{"assets", 2},
    RankedFolder{"sim", 3},
    RankedFolder{"qt", 4},
    RankedFolder{"sdl", 4},
    RankedFolder{"app", 5},
    RankedFolder{"tools", 5},
    RankedFolder{"assets/sounds/generator", 1},
};

// Tests, benchmarks and fuzz targets may include anything; nothing else
// includes them.
inline constexpr std::array<std::string_view, 3> kOutsideFolders = {"tests", "bench", "fuzz"};

// Each subfolder of this folder is one program: it includes no other's files.
inline constexpr std::string_view kToolsFolder = "tools";

struct IncludeProblem {
  std::string file;  // relative to the checked root, "/"-separated
  int line;
  std::string rule;

  // "FILE:LINE: RULE"
  std::string Text() const;
};

// Reads every .h and .cpp under the folders above in root and reports each
// include that breaks the order, and each include that closes a cycle in the
// graph of files including files. Sorted by file and line.
std::vector<IncludeProblem> CheckIncludes(const std::filesystem::path& root);

}  // namespace kelvarok
