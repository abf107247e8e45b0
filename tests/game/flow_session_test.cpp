// Sessions: menu states, the ways a game stops, pause and focus, the penalty
// clock, the alternation of two players and the pacing of frames.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/game/flow_test_support.h"

namespace kelvarok::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

// Every life's intro ends 2001 ms after it began: the first frame's start.
constexpr std::uint32_t kFirstFrame = 2001;

class SessionTest : public FlowTest {
 protected:
  bool Enabled(MenuItem item) { return flow->Menu().Enabled(item); }
  // The first frame stops the game, after `change` has run.
  void StopAfterFirstFrame(std::function<void()> change = {}) {
    onFrame = [this, change](const PlayedFrame&) {
      if (frames.size() != 1) return;
      if (change) change();
      state().GameOver = true;
    };
  }
};

TEST_F(SessionTest, MenuItemsFollowTheGame) {
  struct Seen {
    bool n1, n2, pause, quit, high, exit;
    bool operator==(const Seen&) const = default;
  };
  const auto now = [this] {
    return Seen{Enabled(MenuItem::N1Playerstart1), Enabled(MenuItem::N2Playerstart1),
                Enabled(MenuItem::Pause1),         Enabled(MenuItem::Quitgame1),
                Enabled(MenuItem::Highscores1),    Enabled(MenuItem::Exit1)};
  };
  const Seen idle{true, true, false, false, true, true};
  const Seen playing{false, false, true, true, true, true};
  EXPECT_EQ(now(), idle);
  Seen during{};
  StopAfterFirstFrame([&] { during = now(); });
  Script("0 menu N1Playerstart1");
  Run();
  EXPECT_EQ(during, playing);
  EXPECT_EQ(now(), idle);
  EXPECT_FALSE(flow->GameRunning());
  EXPECT_EQ(host.caption, "Kelvarok 2.10");
}

// The window hears of each change of the menu once, after the flow has made
// it: no push repeats the menu as it stood.
TEST_F(SessionTest, EveryMenuPushIsAChange) {
  struct Snapshots : sim::HostListener {
    explicit Snapshots(const GameMenu& m) : menu(m) {}
    void MenuChanged() override {
      std::vector<bool> now;
      for (const MenuItem item : sim::kMenuItems) {
        now.push_back(menu.Enabled(item));
        now.push_back(menu.Checked(item));
      }
      seen.push_back(now);
    }
    const GameMenu& menu;
    std::vector<std::vector<bool>> seen;
  } snapshots(flow->Menu());
  host.SetListener(&snapshots);
  Script(
      "0 menu N2Playerstart1\n3000 menu Pause1\n3500 focus lost\n4000 menu Pause1\n"
      "5000 menu Quitgame1\n");
  Run();
  ASSERT_GT(snapshots.seen.size(), 6u);
  for (std::size_t i = 1; i < snapshots.seen.size(); ++i)
    EXPECT_NE(snapshots.seen[i], snapshots.seen[i - 1]) << i;
}

TEST_F(SessionTest, QuitDuringTheIntroPlaysNoFrame) {
  Script("0 menu N1Playerstart1\n1000 menu Quitgame1");
  Run();
  EXPECT_TRUE(frames.empty());
  EXPECT_THAT(messages(), ElementsAre("Player 1|Round 1", "Game Over|"));
  EXPECT_EQ(host.caption, "Kelvarok 2.10");
}

TEST_F(SessionTest, QuitWhilePausedLiftsThePauseAndEndsAfterOneMoreFrame) {
  settings.HyperSpaceSounds = false;
  Script(
      "0 menu N1Playerstart1\n"
      "3000 menu Pause1\n"
      "9000 menu Quitgame1\n");
  Run();
  const auto late = std::count_if(frames.begin(), frames.end(),
                                  [](const PlayedFrame& f) { return f.start > 3040; });
  ASSERT_EQ(late, 1);
  EXPECT_EQ(frames.back().start, 9000u);
  EXPECT_FALSE(flow->Paused());
  EXPECT_THAT(messages(), ElementsAre("Player 1|Round 1", "Pause|", "Game Over|"));
}

TEST_F(SessionTest, PauseShowsItselfAndLiftingItWipesTheField) {
  Script("0 menu N1Playerstart1\n3000 menu Pause1\n4000 menu Pause1\n5000 menu Quitgame1");
  int restoresBefore = 0;
  onFrame = [&](const PlayedFrame& f) {
    if (f.start == 2961) restoresBefore = restores;
  };
  Run();
  EXPECT_THAT(messages(), Contains("Pause|"));
  // Lifting the pause restores the field once; then "Game Over" restores again.
  EXPECT_EQ(restores, restoresBefore + 2);
  // No frame starts while paused; the first after the pause starts at once.
  for (const PlayedFrame& f : frames) EXPECT_FALSE(f.start > 3041 && f.start < 4000) << f.start;
  EXPECT_TRUE(std::any_of(frames.begin(), frames.end(),
                          [](const PlayedFrame& f) { return f.start == 4000; }));
}

TEST_F(SessionTest, LosingTheFocusPausesAGameButNotTheIdleWindow) {
  Script(
      "0 focus lost\n"
      "10 focus gained\n"
      "20 menu N1Playerstart1\n"
      "3000 focus lost\n"
      "3500 focus gained\n"
      "6000 menu Quitgame1\n");
  host.keys.Press(VK_UP);  // cleared by the focus loss
  Run();
  EXPECT_THAT(messages(), ElementsAre("Player 1|Round 1", "Pause|", "Game Over|"));
  // Regaining the focus does not resume: the next frame waits for Quit.
  for (const PlayedFrame& f : frames) EXPECT_FALSE(f.start > 3040 && f.start < 6000) << f.start;
  EXPECT_EQ(frames.back().start, 6000u);
  EXPECT_TRUE(host.soundActivated);
  EXPECT_FALSE(host.keys.IsDown(VK_UP));
}

TEST_F(SessionTest, FramesStartFortyMillisecondsApart) {
  onFrame = [this](const PlayedFrame&) {
    if (frames.size() == 100) state().GameOver = true;
  };
  Script("0 menu N1Playerstart1");
  Run();
  ASSERT_EQ(frames.size(), 100u);
  EXPECT_EQ(frames.front().start, kFirstFrame);
  for (std::size_t i = 1; i < frames.size(); ++i)
    EXPECT_EQ(frames[i].start - frames[i - 1].start, 40u);
}

TEST_F(SessionTest, PenaltyClockTakesAPointASecondOnceTheShieldIsGone) {
  struct Case {
    std::int32_t score;
    std::int32_t after;
  };
  for (const Case c : {Case{0, 0}, Case{5, 4}}) {
    SCOPED_TRACE(c.score);
    FlowTest::frames.clear();
    std::vector<std::string> panels;
    onFrame = [&](const PlayedFrame&) {
      if (frames.size() == 1) {
        for (int i = 1; i <= kRockSlots; ++i) state().CurRocks()[i].Active = false;
        state().Score[1] = c.score;
      }
      panels.push_back(host.panelCaptions[StatusPanel::P1Score]);
      if (frames.size() == 280) state().GameOver = true;
    };
    Script(std::to_string(host.now()) + " menu N1Playerstart1");
    Run();
    // The shield runs out in frame 250, which already counts 40 ms.
    EXPECT_EQ(frames[248].penalty, 0);
    EXPECT_EQ(frames[249].penalty, 40);
    EXPECT_EQ(frames[272].penalty, 960);
    EXPECT_EQ(frames[273].penalty, 0);
    EXPECT_EQ(state().Score[1], c.after);
    EXPECT_EQ(panels[273], std::to_string(c.after));  // rewritten even at 0
  }
}

TEST_F(SessionTest, FiringInTheFirstFrameEndsTheShieldAndStartsThePenaltyClock) {
  state().FireLatch = true;  // released at the end of an earlier life
  host.keys.Press(VK_CONTROL);
  StopAfterFirstFrame();
  Script("0 menu N1Playerstart1");
  Run();
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(state().ShieldTime, 0);
  EXPECT_EQ(frames[0].penalty, 40);
}

TEST_F(SessionTest, AFailedJumpInTheFrameThatClearsTheRoundIsForgotten) {
  bool bothFlags = false;
  onFrame = [&](const PlayedFrame&) {
    GameState& s = state();
    if (frames.size() == 1) {
      // The last rock, small, and a missile that reaches it in the next frame.
      for (int i = 1; i <= kRockSlots; ++i) s.CurRocks()[i].Active = false;
      TRock& rock = s.CurRocks()[1];
      rock = TRock{true, false, 300 * kFixedOne, 300 * kFixedOne, 0, 0, 0, 0, 3, 0, 0};
      s.RockCount[1] = 1;
      s.Missiles[1] = TMissile{5, 290 * kFixedOne, 300 * kFixedOne, 10 * kFixedOne, 0, 0, 0};
      // A jump in that frame, and the generator about to fail it.
      s.ShieldTime = 0;
      host.keys.Press(VK_SPACE);
      while (Random(world->random).RandomInt(10) != 0) world->random.RandomInt(10);
    }
    if (frames.size() == 2) bothFlags = s.RoundCleared && s.ShipHit;
    if (frames.size() == 3) {
      host.keys.Release(VK_SPACE);
      s.GameOver = true;
    }
  };
  Script("0 menu N1Playerstart1");
  Run();
  EXPECT_TRUE(bothFlags);
  EXPECT_EQ(FramesIn(FramePhase::Crash), 0);
  EXPECT_EQ(state().RoundNo[1], 2);
  EXPECT_EQ(state().ShipsLeft[1], 3);
  EXPECT_THAT(messages(), Contains("Player 1|Round 2"));
}

TEST_F(SessionTest, AOnePlayerGameEndsWithTheLastShip) {
  onFrame = [this](const PlayedFrame& f) {
    if (f.phase == FramePhase::Play) state().ShipHit = true;
  };
  Script("0 menu N1Playerstart1");
  Run();
  EXPECT_EQ(FramesIn(FramePhase::Play), 3);
  EXPECT_EQ(FramesIn(FramePhase::Crash), 150);
  EXPECT_EQ(state().ShipsLeft[1], 0);
  EXPECT_EQ(state().CurPlayer, 1);
  EXPECT_THAT(messages(), Not(Contains("Player 1|Press Enter")));
}

// Two players: each play frame of the listed players loses that player's ship.
class AlternationTest : public SessionTest {
 protected:
  void LoseShipsOf(std::vector<std::int32_t> players, std::function<void()> atStart = {}) {
    onFrame = [this, players, atStart](const PlayedFrame& f) {
      if (frames.size() == 1 && atStart) atStart();
      if (f.phase != FramePhase::Play) return;
      turns.push_back(state().CurPlayer);
      if (std::find(players.begin(), players.end(), state().CurPlayer) != players.end())
        state().ShipHit = true;
    };
    Script("0 key 13 down\n0 menu N2Playerstart1");
    Run();
  }
  std::vector<std::int32_t> turns;
};

TEST_F(AlternationTest, TheTurnPassesToAPlayerWithoutShipsAndTheGameEnds) {
  LoseShipsOf({1}, [this] { state().ShipsLeft[2] = 0; });
  EXPECT_THAT(turns, ElementsAre(1));
  EXPECT_EQ(state().ShipsLeft[1], 2);
  EXPECT_EQ(state().CurPlayer, 2);
  EXPECT_THAT(messages(), Not(Contains("Player 2|Press Enter")));
}

TEST_F(AlternationTest, APlayerLeftAlonePlaysOnUntilTheTurnGoesBack) {
  LoseShipsOf({1, 2}, [this] { state().ShipsLeft[1] = 1; });
  EXPECT_THAT(turns, ElementsAre(1, 2));
  EXPECT_EQ(state().ShipsLeft[1], 0);
  EXPECT_EQ(state().ShipsLeft[2], 2);
  EXPECT_EQ(std::count(messages().begin(), messages().end(), "Player 2|Press Enter"), 1);
}

TEST_F(AlternationTest, BothPlayersTakeTurnsWhileBothHaveShips) {
  LoseShipsOf({1, 2});
  // Player 1's last ship goes first; player 2 then flies the last one alone.
  EXPECT_THAT(turns, ElementsAre(1, 2, 1, 2, 1, 2));
  EXPECT_EQ(state().ShipsLeft[1], 0);
  EXPECT_EQ(state().ShipsLeft[2], 0);
}

TEST_F(SessionTest, ATurnPromptWaitsForEnterAndIgnoresTheFocus) {
  onFrame = [this](const PlayedFrame& f) {
    if (f.phase != FramePhase::Play) return;
    if (state().CurPlayer == 1) state().ShipHit = true;
    if (state().CurPlayer == 2) state().GameOver = true;
  };
  Script(
      "0 menu N2Playerstart1\n"
      "5000 focus lost\n"
      "7000 key 32 down\n"
      "8000 key 32 up\n"
      "9000 key 13 down\n");
  Run();
  EXPECT_THAT(messages(), Contains("Player 2|Press Enter"));
  EXPECT_THAT(messages(), Not(Contains("Pause|")));
  EXPECT_FALSE(host.soundActivated);
  // Player 2's intro starts when Enter goes down.
  EXPECT_THAT(messages(), Contains("Player 2|Round 1"));
  EXPECT_EQ(frames.back().start, 9000u + kFirstFrame);
}

TEST_F(SessionTest, ClosingTheWindowEndsTheGameWithoutAHighScoreEntry) {
  Script(
      "0 name Alice\n0 menu N1Playerstart1\n3000 close\n3000 key 17 down\n3000 menu Highscores1");
  onFrame = [this](const PlayedFrame&) { state().Score[1] = 500; };
  Run();
  EXPECT_TRUE(host.Closed());
  EXPECT_FALSE(flow->GameRunning());
  EXPECT_TRUE(host.prompts.empty());
  EXPECT_TRUE(host.hiscoreWindows.empty());
  EXPECT_EQ(hiscores[1].Score, 0);
  EXPECT_EQ(frames.back().start, 2961u);  // the frame in progress finished
}

TEST_F(SessionTest, ARefusedCloseLeavesTheGameAsItWas) {
  // The settings could not be saved: the window stays open and the game goes
  // on, paused or not as it was, and ends with its key-up wait, name prompt
  // and table window.
  struct PromptTime : sim::HostListener {
    explicit PromptTime(sim::VirtualFlowHost& h) : host(h) {}
    void Prompted(const std::string&, const std::string*) override { at = host.now(); }
    sim::VirtualFlowHost& host;
    std::uint32_t at = 0;
  } prompt(host);
  host.SetListener(&prompt);
  onFrame = [this](const PlayedFrame&) {
    state().Score[1] = 500;
    for (const bool paused : {false, true}) {
      if (frames.size() != (paused ? 6u : 5u)) continue;
      if (paused) flow->Pause1Click();
      EXPECT_FALSE(flow->FormCloseQuery([] { return false; }));
      EXPECT_EQ(flow->Paused(), paused);
      EXPECT_FALSE(state().GameOver);
      if (paused) flow->Pause1Click();
    }
  };
  Script(
      "0 name Alice\n0 menu N1Playerstart1\n2500 key 17 down\n3000 menu Quitgame1\n"
      "3100 key 17 up");
  Run();
  EXPECT_EQ(frames.back().start, 2961u);  // the game played on until Quit
  EXPECT_EQ(prompt.at, 3100u);            // after the fire key went up
  EXPECT_EQ(host.hiscoreWindows.size(), 1u);
  EXPECT_EQ(hiscores[1].Name, "Alice");
}

TEST_F(SessionTest, ExitEndsTheGameAndClosesTheWindow) {
  Script("0 menu N1Playerstart1\n2500 menu Pause1\n3000 menu Exit1");
  Run();
  EXPECT_TRUE(host.Closed());
  EXPECT_FALSE(flow->Paused());
  EXPECT_EQ(frames.back().start, 3000u);
}

TEST_F(SessionTest, ClosingDuringATurnPromptStillWaitsForEnter) {
  onFrame = [this](const PlayedFrame& f) {
    if (f.phase == FramePhase::Play) state().ShipHit = true;
  };
  Script("0 menu N2Playerstart1\n5000 close\n8000 key 13 down");
  Run();
  EXPECT_TRUE(host.Closed());
  EXPECT_EQ(host.now(), 8000u);
  EXPECT_EQ(FramesIn(FramePhase::Play), 1);
  EXPECT_EQ(state().CurPlayer, 2);
}

TEST_F(SessionTest, APauseChosenInTheLastCrashFrameDoesNotFreezeTheNextGame) {
  onFrame = [this](const PlayedFrame& f) {
    if (f.phase == FramePhase::Play) state().ShipHit = true;
    if (FramesIn(FramePhase::Crash) == 150 && f.phase == FramePhase::Crash) flow->Pause1Click();
  };
  Script("0 menu N1Playerstart1");
  Run();
  EXPECT_FALSE(flow->Paused());
}

TEST_F(SessionTest, AGameQuitInTheMiddleOfAJumpLeavesTheNextGameOutOfWarp) {
  Script(
      "0 menu N1Playerstart1\n"
      "8000 menu N1Playerstart1\n"
      "12000 menu Quitgame1\n");
  std::vector<std::int32_t> warps;
  onFrame = [&](const PlayedFrame& f) {
    if (f.start >= 8000) return warps.push_back(state().CurShip().WarpTime);
    state().CurShip().WarpTime = 45;  // jumped, then quit
    state().GameOver = true;
  };
  Run();
  ASSERT_FALSE(warps.empty());
  EXPECT_EQ(warps.front(), 0);
}

}  // namespace
}  // namespace kelvarok::testing
