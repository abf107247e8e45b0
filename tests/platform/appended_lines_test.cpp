// AppendedLines: a file read while it grows hands on whole lines only, each
// once, and stops when the file shrinks or outgrows its limit.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <variant>

#include "platform/appended_lines.h"

namespace kelvarok {
namespace {

TEST(AppendedLines, TakesEachWholeLineOnceAndStopsAtAShorterOrTooLargeFile) {
  const struct {
    const char* name;
    std::vector<std::pair<std::string, std::string>> steps;  // appended, then taken
    std::string refusal;  // the last step's, after its file change
    bool truncate = false;
  } cases[] = {
      {"lines as they complete",
       {{"", ""},
        {"0 plug", ""},
        {"\n1 plug\n2", "0 plug\n1 plug\n"},
        {"", ""},
        {" unplug\n\n", "2 unplug\n\n"}},
       ""},
      {"outgrown",
       {{"0 plug\n", "0 plug\n"}, {std::string(40, 'x') + "\n", ""}},
       "larger than 32 bytes"},
      {"shortened",
       {{"0 plug\n1 plug\n", "0 plug\n1 plug\n"}, {"", ""}},
       "the file became shorter",
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto path = std::filesystem::path(::testing::TempDir()) / "appended_lines.txt";
    std::ofstream(path, std::ios::trunc).close();
    auto opened = AppendedLines::Open(path, 32);
    ASSERT_TRUE(std::holds_alternative<AppendedLines>(opened));
    AppendedLines& file = std::get<AppendedLines>(opened);
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      const bool last = i + 1 == c.steps.size();
      if (last && c.truncate) std::filesystem::resize_file(path, 3);
      std::ofstream(path, std::ios::app) << c.steps[i].first;
      const auto taken = file.TakeLines();
      if (last && !c.refusal.empty()) {
        ASSERT_TRUE(std::holds_alternative<FileRefusal>(taken));
        EXPECT_EQ(std::get<FileRefusal>(taken).reason, c.refusal);
      } else {
        ASSERT_TRUE(std::holds_alternative<std::string>(taken)) << i;
        EXPECT_EQ(std::get<std::string>(taken), c.steps[i].second) << i;
      }
    }
  }
}

}  // namespace
}  // namespace kelvarok
