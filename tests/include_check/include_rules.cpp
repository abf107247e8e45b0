#include "tests/include_check/include_rules.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <tuple>

namespace kelvarok {
namespace {

namespace fs = std::filesystem;

struct Include {
  int line;
  std::string target;  // as written between the quotes
};

using IncludeGraph = std::map<std::string, std::vector<Include>>;

bool IsInside(std::string_view path, std::string_view folder) {
  return path.size() > folder.size() && path.starts_with(folder) && path[folder.size()] == '/';
}

// The ranked folder a path lies in: the longest one that holds it.
std::optional<RankedFolder> RankedFolderOf(std::string_view path) {
  std::optional<RankedFolder> found;
  for (const RankedFolder& folder : kRankedFolders)
    if (IsInside(path, folder.path) && (!found || folder.path.size() > found->path.size()))
      found = folder;
  return found;
}

// "tools/sim" for "tools/sim/main.cpp"; empty outside the tools' folder.
std::string_view ToolOf(std::string_view path) {
  if (!IsInside(path, kToolsFolder)) return {};
  return path.substr(0, path.find('/', kToolsFolder.size() + 1));
}

bool IsOutside(std::string_view path) {
  return std::ranges::any_of(kOutsideFolders,
                             [&](std::string_view folder) { return IsInside(path, folder); });
}

// The quoted name of a line `#include "NAME"` (spaces allowed around `#` and
// after `include`), or nothing. Hand-written rather than std::regex, whose
// code GCC 12 warns about under the sanitizers.
std::optional<std::string> QuotedInclude(std::string_view line) {
  const auto skipSpaces = [&] {
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  };
  skipSpaces();
  if (!line.starts_with('#')) return std::nullopt;
  line.remove_prefix(1);
  skipSpaces();
  if (!line.starts_with("include")) return std::nullopt;
  line.remove_prefix(7);
  skipSpaces();
  if (!line.starts_with('"')) return std::nullopt;
  line.remove_prefix(1);
  const std::size_t end = line.find('"');
  if (end == std::string_view::npos || end == 0) return std::nullopt;
  return std::string(line.substr(0, end));
}

std::vector<Include> ReadIncludes(const fs::path& file) {
  std::vector<Include> includes;
  std::ifstream in(file);
  std::string text;
  for (int line = 1; std::getline(in, text); ++line)
    if (auto name = QuotedInclude(text)) includes.push_back({line, std::move(*name)});
  return includes;
}

IncludeGraph ReadGraph(const fs::path& root) {
  std::vector<std::string_view> folders(kOutsideFolders.begin(), kOutsideFolders.end());
  // A nested folder is read with the one that holds it.
  for (const RankedFolder& folder : kRankedFolders)
    if (folder.path.find('/') == std::string_view::npos) folders.push_back(folder.path);
  IncludeGraph graph;
  for (std::string_view folder : folders) {
    const fs::path top = root / folder;
    if (!fs::is_directory(top)) continue;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(top)) {
      const std::string extension = entry.path().extension().string();
      if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp")) continue;
      graph[fs::relative(entry.path(), root).generic_string()] = ReadIncludes(entry.path());
    }
  }
  return graph;
}

// The order's verdict on one include, or nothing when it is allowed.
std::optional<std::string> OrderRuleBroken(const std::string& file, const std::string& target) {
  if (IsOutside(file)) return std::nullopt;
  if (IsOutside(target))
    return "includes \"" + target + "\": tests/, bench/ and fuzz/ are included by no other folder";
  if (const std::string_view tool = ToolOf(file), other = ToolOf(target);
      !tool.empty() && !other.empty() && tool != other)
    return "includes \"" + target + "\": " + std::string(tool) + "/ includes no other tool's files";
  const std::optional<RankedFolder> from = RankedFolderOf(file);
  const std::optional<RankedFolder> to = RankedFolderOf(target);
  if (!from || !to || from->path == to->path || to->rank < from->rank) return std::nullopt;
  return "includes \"" + target + "\": " + std::string(from->path) + "/ (rank " +
         std::to_string(from->rank) + ") may include only folders of a lower rank, not " +
         std::string(to->path) + "/ (rank " + std::to_string(to->rank) + ")";
}

// Depth-first search of the file graph; an include that reaches a file still
// on the search path closes a cycle.
class CycleFinder {
 public:
  CycleFinder(const IncludeGraph& graph, std::vector<IncludeProblem>& problems)
      : graph_(graph), problems_(problems) {}

  void Visit(const std::string& file) {
    if (done_.contains(file)) return;
    path_.push_back(file);
    for (const Include& include : graph_.at(file)) {
      if (!graph_.contains(include.target)) continue;
      const auto open = std::ranges::find(path_, include.target);
      if (open != path_.end()) {
        std::string cycle;
        for (auto it = open; it != path_.end(); ++it) cycle += *it + " -> ";
        problems_.push_back({file, include.line,
                             "includes \"" + include.target +
                                 "\", which leads back to this file: " + "an include cycle (" +
                                 cycle + include.target + ")"});
      } else {
        Visit(include.target);
      }
    }
    path_.pop_back();
    done_.insert(file);
  }

 private:
  const IncludeGraph& graph_;
  std::vector<IncludeProblem>& problems_;
  std::vector<std::string> path_;
  std::set<std::string> done_;
};

}  // namespace

std::string IncludeProblem::Text() const {
  return file + ":" + std::to_string(line) + ": " + rule;
}

std::vector<IncludeProblem> CheckIncludes(const fs::path& root) {
  const IncludeGraph graph = ReadGraph(root);
  std::vector<IncludeProblem> problems;
  for (const auto& [file, includes] : graph)
    for (const Include& include : includes)
      if (const auto rule = OrderRuleBroken(file, include.target))
        problems.push_back({file, include.line, *rule});
  CycleFinder cycles(graph, problems);
  for (const auto& [file, includes] : graph) cycles.Visit(file);
  std::ranges::sort(problems, [](const IncludeProblem& a, const IncludeProblem& b) {
    return std::tie(a.file, a.line, a.rule) < std::tie(b.file, b.line, b.rule);
  });
  return problems;
}

}  // namespace kelvarok
