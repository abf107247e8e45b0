// The folders include one way and no file includes itself through others:
// the project's own tree, and forged trees that break each rule once.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/include_check/include_rules.h"

namespace kelvarok {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Texts(const std::vector<IncludeProblem>& problems) {
  std::vector<std::string> texts;
  for (const IncludeProblem& problem : problems) texts.push_back(problem.Text());
  return texts;
}

TEST(IncludeRules, TheProjectKeepsThem) {
  for (const std::string& text : Texts(CheckIncludes(KELVAROK_SOURCE_DIR))) ADD_FAILURE() << text;
}

struct SourceFile {
  std::string path;
  std::string text;
};

struct ForgedTree {
  std::string name;
  std::vector<SourceFile> files;
  std::vector<std::string> problems;
};

class ForgedTreeTest : public ::testing::TestWithParam<ForgedTree> {};

TEST_P(ForgedTreeTest, GivesItsProblems) {
  const fs::path root = fs::path(::testing::TempDir()) / ("include_rules_" + GetParam().name);
  fs::remove_all(root);
  for (const SourceFile& file : GetParam().files) {
    fs::create_directories((root / file.path).parent_path());
    std::ofstream(root / file.path) << file.text;
  }
  EXPECT_EQ(Texts(CheckIncludes(root)), GetParam().problems);
  fs::remove_all(root);
}

// Every include here goes down the order, or stays in its folder.
const std::vector<SourceFile> kLawfulFiles = {
    {"platform/clock.h", "#pragma once\n"},
    {"assets/sounds/effects.h", "#pragma once\n"},
    {"game/world.h", "#include \"platform/clock.h\"\n"},
    {"sound/mixer.cpp", "#include \"assets/sounds/effects.h\"\n#include <vector>\n"},
    {"assets/sprites.h", "#include \"game/world.h\"\n"},
    {"sim/host.h", "#include \"game/world.h\"\n#include \"sound/mixer.h\"\n"},
    {"app/main.cpp", "#include \"sim/host.h\"\n#include \"qt/text.h\"\n#include \"sdl/out.h\"\n"},
    {"tests/sim/host_test.cpp", "#include \"tools/sim/options.h\"\n#include \"app/window.h\"\n"},
    {"fuzz/mixer_fuzz.cpp", "#include \"tests/sound/wave.h\"\n"},
};

std::vector<SourceFile> LawfulWith(std::vector<SourceFile> more) {
  more.insert(more.begin(), kLawfulFiles.begin(), kLawfulFiles.end());
  return more;
}

INSTANTIATE_TEST_SUITE_P(
    IncludeRules, ForgedTreeTest,
    ::testing::Values(
        ForgedTree{"lawful", kLawfulFiles, {}},
        ForgedTree{"upward",
                   LawfulWith({{"game/rocks.cpp", "// rocks\n#include \"sim/host.h\"\n"}}),
                   {"game/rocks.cpp:2: includes \"sim/host.h\": game/ (rank 1) may include only "
                    "folders of a lower rank, not sim/ (rank 3)"}},
        ForgedTree{"siblings",
                   LawfulWith({{"tools/sim/main.cpp", "#include \"app/window.h\"\n"},
                               {"tools/mix/main.cpp", "#include \"tools/sim/options.h\"\n"},
                               {"sound/effects.cpp", "#include \"assets/sprites.h\"\n"}}),
                   {"sound/effects.cpp:1: includes \"assets/sprites.h\": sound/ (rank 2) may "
                    "include only folders of a lower rank, not assets/ (rank 2)",
                    "tools/mix/main.cpp:1: includes \"tools/sim/options.h\": tools/mix/ includes "
                    "no other tool's files",
                    "tools/sim/main.cpp:1: includes \"app/window.h\": tools/ (rank 5) may "
                    "include only folders of a lower rank, not app/ (rank 5)"}},
        ForgedTree{"tests_included",
                   LawfulWith({{"sim/rig.h", "  #  include \"tests/sim/rig.h\"\n"}}),
                   {"sim/rig.h:1: includes \"tests/sim/rig.h\": tests/, bench/ and fuzz/ are "
                    "included by no other folder"}},
        ForgedTree{"cycle",
                   {{"sim/a.h", "#include \"sim/b.h\"\n"},
                    {"sim/b.h", "#pragma once\n#include \"sim/c.h\"\n"},
                    {"sim/c.h", "#include \"platform/clock.h\"\n#include \"sim/a.h\"\n"},
                    {"platform/clock.h", "#include \"platform/clock.h\"\n"}},
                   {"platform/clock.h:1: includes \"platform/clock.h\", which leads back to "
                    "this file: an include cycle (platform/clock.h -> platform/clock.h)",
                    "sim/c.h:2: includes \"sim/a.h\", which leads back to this file: an "
                    "include cycle (sim/a.h -> sim/b.h -> sim/c.h -> sim/a.h)"}}),
    [](const ::testing::TestParamInfo<ForgedTree>& row) { return row.param.name; });

}  // namespace
}  // namespace kelvarok
