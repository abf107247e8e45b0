// The bonus round after every third cleared round: the title, a warm-up in
// which the ship can only turn and fire, two passes of a row of small rocks,
// and the summary with its award.
#include <algorithm>

#include "game/bonus_path.h"
#include "game/flow_texts.h"
#include "game/game_flow.h"

namespace kelvarok {

namespace {

constexpr std::uint32_t kTitleMs = 2000;
constexpr std::uint32_t kBeforeSummaryMs = 2000;
constexpr std::uint32_t kSummaryMs = 4000;
constexpr int kWarmUpFrames = 50;
constexpr std::int32_t kMaxBonusRocks = 32;
constexpr std::int32_t kRockSpacing = 26 * kFixedOne;
constexpr std::int32_t kRockStep = 4096;  // 4 px per frame along x
constexpr std::int32_t kPathExtra = 200 * kFixedOne;
constexpr std::int32_t kPathTop = 12800;  // 12.5 px
constexpr std::int32_t kRowOffset = 13 * kFixedOne;
constexpr std::int32_t kAwardPerThreeRounds = 1000;

}  // namespace

std::int64_t BonusPathK(std::int32_t fieldW, std::int32_t fieldH) {
  const std::int64_t half = fieldW / 2;
  return (half * half) / (std::int64_t{fieldH} + kPathExtra);
}

std::int32_t BonusPathY(std::int32_t x, std::int32_t fieldW, std::int32_t fieldH, std::int64_t k,
                        int pass) {
  const std::int64_t d = std::int64_t{x} - fieldW / 2;
  const auto y = static_cast<std::int32_t>((d * d) / k + kPathTop);
  return pass == 1 ? y : fieldH - y;
}

void GameFlow::BonusRound() {
  const std::int32_t p = state_.CurPlayer;
  state_.BonusMode = true;  // no thrust, no jumps, free shots
  RestoreField();
  DrawMessage(PlayerLine(p), kBonusRoundLine);
  host_.SetCaption(BonusCaption(baseCaption_));
  WaitTime(kTitleMs);
  RestoreField();
  world_.NewShip();
  for (int m = 1; m <= kMissileSlots; ++m) state_.Missiles[m].Life = 0;
  for (int i = 1; i <= kRockSlots; ++i) state_.Rocks[p][i].Active = false;
  state_.CurShip().WarpTime = 0;

  BonusWarmUp();

  const std::int32_t cleared = state_.RoundNo[p];
  const std::int32_t n = std::min(kMaxBonusRocks, (cleared / 3) * 4 + 4);
  for (int i = 1; i <= n; ++i) {
    TRock& rock = state_.Rocks[p][i];
    rock.Active = true;
    rock.Hard = false;
    rock.X = -(i - 1) * kRockSpacing;
    rock.Y = state_.FieldH + kRowOffset;
    rock.VX = 0;
    rock.VY = 0;
    rock.OldX = rock.X;
    rock.OldY = rock.Y;
    rock.Size = 3;
    rock.Frame = 0;
    rock.Spin = 2;
  }
  state_.RockCount[p] = n;  // the bonus rocks not yet shot
  FlyBonusRocks(n);

  RestoreField();
  WaitTime(kBeforeSummaryMs);
  std::string second;
  if (state_.RockCount[p] == 0) {
    const std::int32_t bonus = (cleared / 3) * kAwardPerThreeRounds;
    state_.Score[p] += bonus;
    second = BonusLine(bonus);
    world_.PlayEffect(Effect::Bonus);
  }
  DrawMessage(KillRateLine(n - state_.RockCount[p], n), second);
  WaitTime(kSummaryMs);
  world_.ShowScore();
  state_.BonusMode = false;
}

void GameFlow::BonusWarmUp() {
  // Pause is not looked at here; the ship never moves in a bonus round.
  for (int frame = 0; frame < kWarmUpFrames; ++frame) {
    const std::uint32_t frameStart = BeginFrame();
    world_.MoveMissilesNoWrap();
    world_.EraseShip(false);
    world_.AgeMissiles();
    world_.DrawMissiles();
    world_.DrawShip(false);
    host_.InvalidateField();
    world_.ReadControls();
    EndFrame(FramePhase::Warmup, frameStart);
  }
}

void GameFlow::FlyBonusRocks(int rocks) {
  const std::int32_t p = state_.CurPlayer;
  RockTable& row = state_.Rocks[p];
  const std::int64_t k = BonusPathK(state_.FieldW, state_.FieldH);
  int pass = 1;
  while (pass < 3 && state_.RockCount[p] > 0) {
    WaitWhilePaused();
    const std::uint32_t frameStart = BeginFrame();
    // Shot rocks move on too, so the survivors keep their places in the row.
    for (int i = 1; i <= rocks; ++i) {
      TRock& rock = row[i];
      rock.X += kRockStep;
      if (rock.X > 0) rock.Y = BonusPathY(rock.X, state_.FieldW, state_.FieldH, k, pass);
    }
    world_.MoveMissilesNoWrap();
    world_.EraseShip(false);
    world_.EraseRocks();
    world_.AgeMissiles();
    world_.DrawMissiles();
    world_.DrawRocks();
    world_.DrawShip(false);
    host_.InvalidateField();
    world_.ReadControls();
    // Checked before the frame's wait rather than after it: nothing that runs
    // during the wait looks at the rocks.
    if (row[rocks].X > state_.FieldW) {
      // The last rock has left on the right: the survivors line up above the
      // field for the mirrored pass.
      ++pass;
      for (int i = 1; i <= rocks; ++i) {
        row[i].X = -(i - 1) * kRockSpacing;
        row[i].Y = -kRowOffset;
      }
    }
    EndFrame(FramePhase::Bonus, frameStart);
  }
}

}  // namespace kelvarok
