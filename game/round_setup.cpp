// The big rocks that open a round.
#include "game/game_flow.h"

namespace kelvarok {

namespace {

constexpr std::int32_t kMaxBigRocks = 8;
constexpr std::int32_t kBaseRockSpeed = 4096;  // 4 px per frame of spread
constexpr std::int32_t kRockSpeedStep = 512;
constexpr std::int32_t kMaxRockSpeed = 8192;

}  // namespace

void GameFlow::SetupRound() {
  const std::int32_t p = state_.CurPlayer;
  RockTable& rocks = state_.Rocks[p];
  state_.RockCount[p] = 0;
  // Rounds 1 to 6 have 3 to 8 rocks; each later round keeps 8 and spreads
  // their speeds wider until round 14.
  std::int32_t n = state_.RoundNo[p] + 2;
  state_.RockSpeed[p] = kBaseRockSpeed;
  while (n > kMaxBigRocks) {
    --n;
    if (state_.RockSpeed[p] < kMaxRockSpeed) state_.RockSpeed[p] += kRockSpeedStep;
  }
  for (int i = 1; i <= n; ++i) {
    TRock& rock = rocks[i];
    rock.Active = true;
    rock.Hard = false;
    rock.Size = 1;
    rock.OldX = world_.random.RandomInt(state_.FieldW);
    rock.OldY = world_.random.RandomInt(state_.FieldH);
    rock.X = rock.OldX;
    rock.Y = rock.OldY;
    rock.VX = world_.RandomVelocity();
    rock.VY = world_.RandomVelocity();
    rock.Frame = world_.random.RandomInt(48);
    rock.Spin = world_.random.RandomInt(5) - 2;
    state_.RockCount[p] += 1;
  }
  for (int i = n + 1; i <= kRockSlots; ++i) rocks[i].Active = false;
}

}  // namespace kelvarok
