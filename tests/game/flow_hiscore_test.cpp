// The high-score table: ranking, the shift, the name and its prompt, the cells.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "game/hiscore_rules.h"
#include "tests/game/flow_test_support.h"

namespace kelvarok::testing {
namespace {

using ::testing::ElementsAre;

// "P1" to "P10". Built by insertion: GCC 12 warns falsely (-Wrestrict) on
// "P" + std::to_string(r) in optimised builds.
std::string PlaceName(int r) {
  std::string name = std::to_string(r);
  name.insert(name.begin(), 'P');
  return name;
}

// Scores 100, 90, ..., 10 at ranks 1 to 10.
HiScoreTable Descending() {
  HiScoreTable t;
  for (int r = 1; r <= kHiScorePlaces; ++r) t[r] = {110 - 10 * r, r, PlaceName(r)};
  return t;
}

TEST(HiScoreRulesTest, RankIsTheFirstPlaceStrictlyBeaten) {
  struct Case {
    const char* what;
    HiScoreTable table;
    std::int32_t score;
    int rank;
  };
  const Case cases[] = {
      {"empty table, score 0", {}, 0, 0},
      {"empty table, score 150", {}, 150, 1},
      {"equal to rank 10, below all others", Descending(), 10, 0},
      {"between ranks 3 and 4", Descending(), 75, 4},
      {"equal to rank 4 goes below it", Descending(), 70, 5},
      {"best of all", Descending(), 1000, 1},
  };
  for (const Case& c : cases) EXPECT_EQ(RankFor(c.table, c.score), c.rank) << c.what;
}

TEST(HiScoreRulesTest, AnEntryPushesTheLowerPlacesDownAndDropsTheLast) {
  HiScoreTable t = Descending();
  InsertHiScore(t, 4, 75, 3, "New");
  EXPECT_EQ(t[3], (THiScore{80, 3, "P3"}));
  EXPECT_EQ(t[4], (THiScore{75, 3, "New"}));
  for (int r = 5; r <= 10; ++r) EXPECT_EQ(t[r].Name, PlaceName(r - 1));

  HiScoreTable last = Descending();
  InsertHiScore(last, 10, 15, 1, "Tail");
  EXPECT_EQ(last[9].Name, "P9");
  EXPECT_EQ(last[10], (THiScore{15, 1, "Tail"}));
}

TEST(HiScoreRulesTest, NamesAreCutToTwentyCharacters) {
  HiScoreTable t;
  InsertHiScore(t, 1, 5, 1, std::string(30, 'x'));
  EXPECT_EQ(t[1].Name, std::string(20, 'x'));
}

TEST(HiScoreRulesTest, CellsShowTheScoreOneBlankFromTheRightEdge) {
  HiScoreTable t;
  InsertHiScore(t, 1, 150, 3, "Bob");
  const HiScoreCells cells = HiScoreCellsOf(t);
  EXPECT_EQ(cells[1], (HiScoreRowText{"150 ", "3", "Bob"}));
  for (int r = 2; r <= 10; ++r) EXPECT_EQ(cells[r], (HiScoreRowText{"0 ", "0", ""}));
}

// Games that end at once with the given scores.
class HiScoreEntryTest : public FlowTest {
 protected:
  void EndGame(const std::string& start, std::int32_t s1, std::int32_t s2,
               const std::string& answers) {
    onFrame = [=, this](const PlayedFrame&) {
      state().Score[1] = s1;
      state().Score[2] = s2;
      state().RoundNo[2] = 2;
      state().GameOver = true;
    };
    Script(answers + "0 menu " + start);
    Run();
  }
  std::vector<std::string> Boxes() {
    std::vector<std::string> boxes;
    for (const auto& p : host.prompts) boxes.push_back(p.box);
    return boxes;
  }
};

TEST_F(HiScoreEntryTest, AScoreOfZeroNeverEntersAnEmptyTable) {
  EndGame("N1Playerstart1", 0, 0, "0 name Ann\n");
  EXPECT_TRUE(host.prompts.empty());
  EXPECT_TRUE(host.hiscoreWindows.empty());
}

TEST_F(HiScoreEntryTest, ANewBestIsAskedForAndShown) {
  EndGame("N1Playerstart1", 150, 0, "0 name Ann\n");
  ASSERT_EQ(host.prompts.size(), 1u);
  EXPECT_EQ(host.prompts[0].caption, "High Score!");
  EXPECT_EQ(host.prompts[0].prompt, "Player 1, enter your name:");
  EXPECT_EQ(host.prompts[0].box, "");
  EXPECT_EQ(hiscores[1], (THiScore{150, 1, "Ann"}));
  ASSERT_EQ(host.hiscoreWindows.size(), 1u);
  EXPECT_EQ(host.hiscoreWindows[0][1], (HiScoreRowText{"150 ", "1", "Ann"}));
  EXPECT_EQ(host.hiscoreWindows[0][2], (HiScoreRowText{"0 ", "0", ""}));
}

TEST_F(HiScoreEntryTest, TheSecondPlayerFindsTheFirstPlayersNameAndRanksBelowOnATie) {
  EndGame("N2Playerstart1", 200, 200, "0 name Ann\n0 name Bo\n");
  EXPECT_THAT(Boxes(), ElementsAre("", "Ann"));
  EXPECT_EQ(host.prompts[1].prompt, "Player 2, enter your name:");
  EXPECT_EQ(hiscores[1], (THiScore{200, 1, "Ann"}));
  EXPECT_EQ(hiscores[2], (THiScore{200, 2, "Bo"}));
  EXPECT_EQ(host.hiscoreWindows.size(), 2u);
}

TEST_F(HiScoreEntryTest, ACancelledPromptEntersNothingAndKeepsTheName) {
  EndGame("N2Playerstart1", 300, 200, "0 name-cancel\n0 name Bo\n");
  EXPECT_THAT(Boxes(), ElementsAre("", ""));
  EXPECT_EQ(hiscores[1], (THiScore{200, 2, "Bo"}));
  EXPECT_EQ(hiscores[2].Score, 0);
  EXPECT_EQ(host.hiscoreWindows.size(), 1u);
}

TEST_F(HiScoreEntryTest, APromptWithoutAnAnswerIsCancelled) {
  EndGame("N1Playerstart1", 150, 0, "");
  EXPECT_EQ(host.prompts.size(), 1u);
  EXPECT_EQ(hiscores[1].Score, 0);
}

TEST_F(HiScoreEntryTest, TheTableCommandShowsTheTableAnyTime) {
  hiscores = Descending();
  Script("0 menu Highscores1");
  Run();
  ASSERT_EQ(host.hiscoreWindows.size(), 1u);
  EXPECT_EQ(host.hiscoreWindows[0][10], (HiScoreRowText{"10 ", "10", "P10"}));
}

}  // namespace
}  // namespace kelvarok::testing
