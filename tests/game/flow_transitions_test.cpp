// Between the frames: round set-up, the intro, the crash, the status bar and
// the bonus round with its path and summary.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "game/bonus_path.h"
#include "tests/game/flow_test_support.h"

namespace kelvarok::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

class TransitionsTest : public FlowTest {
 protected:
  int ActiveRocks() {
    int n = 0;
    for (int i = 1; i <= kRockSlots; ++i) n += state().CurRocks()[i].Active ? 1 : 0;
    return n;
  }
  int CountedRocks() {
    int n = 0;
    for (int i = 1; i <= kRockSlots; ++i)
      n += state().CurRocks()[i].Active && !state().CurRocks()[i].Hard ? 1 : 0;
    return n;
  }
};

TEST_F(TransitionsTest, EachRoundPlacesItsBigRocksWithItsSpread) {
  struct Round {
    std::int32_t round, rocks, speed;
  };
  const std::vector<Round> rounds = {{1, 3, 4096},  {2, 4, 4096},  {6, 8, 4096}, {7, 8, 4608},
                                     {13, 8, 7680}, {14, 8, 8192}, {20, 8, 8192}};
  std::map<std::int32_t, Round> seen;
  std::size_t next = 0;
  std::int32_t warpAtStart = -1;
  onFrame = [&](const PlayedFrame& f) {
    if (f.phase != FramePhase::Play) return;
    const std::int32_t r = state().RoundNo[1];
    if (r != rounds[next].round) return;
    seen[r] = {r, ActiveRocks(), state().RockSpeed[1]};
    EXPECT_EQ(state().RockCount[1], ActiveRocks());
    for (int i = 1; i <= kRockSlots; ++i)
      if (state().CurRocks()[i].Active) {
        EXPECT_EQ(state().CurRocks()[i].Size, 1);
      }
    if (r == 2) warpAtStart = state().CurShip().WarpTime;
    if (++next == rounds.size()) {
      state().GameOver = true;
      return;
    }
    ClearRound(state());
    state().RoundNo[1] = rounds[next].round - 1;
  };
  Script("0 menu N1Playerstart1");
  Run();
  for (const Round& r : rounds) {
    SCOPED_TRACE(r.round);
    EXPECT_EQ(seen[r.round].rocks, r.rocks);
    EXPECT_EQ(seen[r.round].speed, r.speed);
  }
  EXPECT_EQ(warpAtStart, 49);  // out of play for the new round's first 50 frames
}

TEST_F(TransitionsTest, EveryLifeOpensWithItsIntro) {
  onFrame = [this](const PlayedFrame& f) {
    if (f.phase != FramePhase::Play) return;
    EXPECT_EQ(host.caption, "Kelvarok 2.10 - Round " + std::to_string(state().RoundNo[1]));
    if (state().RoundNo[1] == 1) {
      ClearRound(state());
    } else {
      state().GameOver = true;
    }
  };
  Script("0 menu N1Playerstart1");
  Run();
  EXPECT_THAT(messages(), ElementsAre("Player 1|Round 1", "Player 1|Round 2", "Game Over|"));
  EXPECT_EQ(frames[0].start, 2001u);
  EXPECT_EQ(frames[1].start, 2041u + 2001u);
}

TEST_F(TransitionsTest, TheCrashTurnsTheWreckThroughItsEighteenPicturesForFiftyFrames) {
  std::vector<std::int32_t> debris;
  std::vector<std::int32_t> xs;
  onFrame = [&](const PlayedFrame& f) {
    if (f.phase == FramePhase::Play) {
      if (frames.size() > 1) {
        state().GameOver = true;
        return;
      }
      state().CurShip().Heading = 35;
      state().CurShip().VX = 1024;
      state().ShipHit = true;
      soundLog.sounds.clear();
    }
    if (f.phase == FramePhase::Crash) {
      debris.push_back(state().CurShip().Heading);
      xs.push_back(state().CurShip().X);
    }
  };
  Script("0 menu N1Playerstart1");
  Run();
  ASSERT_EQ(debris.size(), 50u);
  // 35 div 2 = 17, then one step per frame, 17 wrapping to 0.
  EXPECT_EQ(debris[0], 0);
  EXPECT_EQ(debris[17], 17);
  EXPECT_EQ(debris[18], 0);
  EXPECT_EQ(debris[49], 13);
  EXPECT_EQ(xs[1] - xs[0], 1024);  // the wreck drifts on
  EXPECT_EQ(soundLog.sounds.front(), Effect::Explosion);
  EXPECT_EQ(state().ShipsLeft[1], 2);
}

TEST_F(TransitionsTest, TheStatusBarShowsSpareShipsAndWhoseTurnItIs) {
  struct Seen {
    std::int32_t player;
    std::string ships;
    Pixel p1Panel, p1Score, p2Panel, p2Score;
  };
  std::vector<Seen> lives;
  onFrame = [&](const PlayedFrame& f) {
    if (f.phase != FramePhase::Play) return;
    lives.push_back(
        {state().CurPlayer, host.panelCaptions[StatusPanel::ShipPanel],
         host.panelColours[StatusPanel::P1Panel], host.panelColours[StatusPanel::P1Score],
         host.panelColours[StatusPanel::P2Panel], host.panelColours[StatusPanel::P2Score]});
    state().ShipHit = true;
  };
  Script("0 key 13 down\n0 menu N2Playerstart1");
  Run();
  ASSERT_EQ(lives.size(), 6u);
  const std::vector<std::string> ships = {"^^", "^^", "^", "^", "", ""};
  for (std::size_t i = 0; i < lives.size(); ++i) {
    SCOPED_TRACE(i);
    const bool first = lives[i].player == 1;
    EXPECT_EQ(lives[i].player, static_cast<std::int32_t>(1 + i % 2));
    EXPECT_EQ(lives[i].ships, ships[i]);
    EXPECT_EQ(lives[i].p1Panel, first ? kNavy : kGrey);
    EXPECT_EQ(lives[i].p1Score, first ? kPurple : kGrey);
    EXPECT_EQ(lives[i].p2Panel, first ? kGrey : kNavy);
    EXPECT_EQ(lives[i].p2Score, first ? kGrey : kPurple);
  }
  // After the game both players show the active colours again.
  EXPECT_EQ(host.panelColours[StatusPanel::P1Panel], kNavy);
  EXPECT_EQ(host.panelColours[StatusPanel::P2Panel], kNavy);
  EXPECT_EQ(host.panelColours[StatusPanel::P1Score], kPurple);
  EXPECT_EQ(host.panelColours[StatusPanel::P2Score], kPurple);
}

TEST(BonusPathTest, TheParabolaOfTheSevenFiftyByFourFiftyField) {
  const std::int32_t w = 768000;
  const std::int32_t h = 460800;
  const std::int64_t k = BonusPathK(w, h);
  EXPECT_EQ(k, 221538);
  EXPECT_EQ(BonusPathY(102400, w, h, k, 1), 370745);
  EXPECT_EQ(BonusPathY(102400, w, h, k, 2), 90055);
  EXPECT_EQ(BonusPathY(384000, w, h, k, 1), 12800);
  EXPECT_EQ(BonusPathY(384000, w, h, k, 2), 448000);
}

// A bonus round after round `cleared`; `shoot` runs in every flight frame.
class BonusTest : public TransitionsTest {
 protected:
  // laterScript: more script lines, after the start, with absolute times.
  void PlayBonusAfter(std::int32_t cleared, std::function<void()> shoot = {},
                      const std::string& laterScript = "") {
    bool bonusDue = true;
    onFrame = [this, cleared, shoot, bonusDue](const PlayedFrame& f) mutable {
      if (f.phase == FramePhase::Play) {
        if (!bonusDue) {
          state().GameOver = true;
          return;
        }
        bonusDue = false;
        state().RoundNo[1] = cleared;
        state().Score[1] = 100;
        ClearRound(state());
      }
      if (f.phase == FramePhase::Bonus) {
        if (firstFlight.empty()) firstFlight = {ActiveRocks(), state().RockCount[1]};
        EXPECT_EQ(state().RockCount[1], CountedRocks());
        const TRock& lead = state().CurRocks()[1];
        if (lead.X == 102400) leadAt100px.push_back(lead.Y);
        if (shoot) shoot();
      }
      if (f.phase == FramePhase::Warmup) warmupCaption = host.caption;
    };
    Script(std::to_string(host.now()) + " menu N1Playerstart1\n" + laterScript);
    Run();
  }
  void ShootSlots(int from, int to) {
    for (int i = from; i <= to; ++i) {
      if (!state().CurRocks()[i].Active) continue;
      state().CurRocks()[i].Active = false;
      --state().RockCount[1];
    }
  }
  std::vector<int> firstFlight;
  std::vector<std::int32_t> leadAt100px;
  std::string warmupCaption;
};

TEST_F(BonusTest, NobodyShootsBothPassesFly) {
  PlayBonusAfter(3);
  EXPECT_EQ(FramesIn(FramePhase::Warmup), 50);
  EXPECT_EQ(warmupCaption, "Kelvarok 2.10 - Bonus Round");
  EXPECT_THAT(firstFlight, ElementsAre(8, 8));
  EXPECT_THAT(leadAt100px, ElementsAre(370745, 90055));
  EXPECT_THAT(messages(), Contains("Player 1|Bonus Round"));
  EXPECT_THAT(messages(), Contains("Kill rate: 0 of 8|"));
  EXPECT_EQ(state().Score[1], 100);
  EXPECT_EQ(state().RoundNo[1], 4);
  EXPECT_FALSE(state().BonusMode);
}

TEST_F(BonusTest, ShootingEveryRockEndsTheFlightAndEarnsTheBonus) {
  PlayBonusAfter(3, [this] { ShootSlots(1, 8); });
  EXPECT_EQ(FramesIn(FramePhase::Bonus), 1);
  EXPECT_THAT(messages(), Contains("Kill rate: 8 of 8|Bonus: 1000 points"));
  EXPECT_EQ(state().Score[1], 1100);
  EXPECT_THAT(soundLog.sounds, Contains(Effect::Bonus));
}

TEST_F(BonusTest, MissingOneRockGivesNoBonusAndTheSurvivorFliesAgain) {
  std::vector<int> pass2Rocks;
  PlayBonusAfter(3, [&] {
    ShootSlots(2, 8);
    if (state().CurRocks()[1].Y < 0) pass2Rocks.push_back(ActiveRocks());
  });
  EXPECT_THAT(messages(), Contains("Kill rate: 7 of 8|"));
  EXPECT_EQ(state().Score[1], 100);
  EXPECT_THAT(soundLog.sounds, Not(Contains(Effect::Bonus)));
  ASSERT_FALSE(pass2Rocks.empty());
  EXPECT_EQ(pass2Rocks.front(), 1);  // shot rocks do not return
}

TEST_F(BonusTest, TheRowGrowsWithTheRoundUpToThirtyTwo) {
  struct Case {
    std::int32_t cleared, rocks;
  };
  for (const Case c : {Case{6, 12}, Case{21, 32}, Case{24, 32}}) {
    SCOPED_TRACE(c.cleared);
    firstFlight.clear();
    PlayBonusAfter(c.cleared, [this] { ShootSlots(1, kRockSlots); });
    ASSERT_EQ(firstFlight.size(), 2u);
    EXPECT_EQ(firstFlight[0], c.rocks);
    EXPECT_THAT(messages(), Contains("Kill rate: " + std::to_string(c.rocks) + " of " +
                                     std::to_string(c.rocks) + "|Bonus: " +
                                     std::to_string(c.cleared / 3 * 1000) + " points"));
  }
}

TEST_F(BonusTest, QuitDuringTheBonusRoundStillShowsTheSummary) {
  PlayBonusAfter(3, [this] {
    if (FramesIn(FramePhase::Bonus) == 10) flow->Quitgame1Click();
  });
  EXPECT_THAT(messages(), Contains("Kill rate: 0 of 8|"));
  EXPECT_EQ(messages().back(), "Game Over|");
  EXPECT_EQ(state().RoundNo[1], 4);
}

TEST_F(BonusTest, APauseBegunWhereNothingLooksAtItIsShownWhenTheGameWaits) {
  // The first life's intro ends at 2001 and its first frame clears the round;
  // the bonus title runs from 2041 to 4042, the warm-up until 6042.
  struct Case {
    const char* during;
    std::uint32_t focusLost;
  };
  const Case cases[] = {{"the intro", 1000}, {"the bonus title", 3000}, {"the warm-up", 5000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.during);
    const std::size_t before = messages().size();
    const std::uint32_t start = host.now();
    PlayBonusAfter(3, {},
                   std::to_string(start + c.focusLost) + " focus lost\n" +
                       std::to_string(start + c.focusLost + 6000) + " menu Pause1\n");
    const std::vector<std::string> seen(messages().begin() + static_cast<std::ptrdiff_t>(before),
                                        messages().end());
    // Once where the pause began, once more where the game waits in it.
    EXPECT_EQ(std::count(seen.begin(), seen.end(), "Pause|"), 2);
    EXPECT_EQ(seen.back(), "Game Over|");
  }
}

}  // namespace
}  // namespace kelvarok::testing
