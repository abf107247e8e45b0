// Rock creation, missile ageing, missile and ship hits, splits and scoring.
#include <cstdlib>

#include "game/game_world.h"
#include "game/rock_sizes.h"

namespace kelvarok {

namespace {

bool InBox(std::int32_t ax, std::int32_t ay, std::int32_t bx, std::int32_t by, std::int32_t box) {
  return std::llabs(std::int64_t{ax} - bx) < box && std::llabs(std::int64_t{ay} - by) < box;
}

// The first slot, scanning upward, that holds no rock; 0 when all are taken.
int FirstFreeSlot(const RockTable& rocks) {
  for (int j = 1; j <= kRockSlots; ++j)
    if (!rocks[j].Active) return j;
  return 0;
}

}  // namespace

void GameWorld::SpawnRock(int i, std::int32_t size, std::int32_t x, std::int32_t y) {
  TRock& rock = state.CurRocks()[i];
  rock.Active = true;
  rock.Hard = false;
  rock.Size = size;
  rock.X = rock.OldX = x;
  rock.Y = rock.OldY = y;
  rock.VX = RandomVelocity();
  rock.VY = RandomVelocity();
  rock.Frame = random.RandomInt(48);
  rock.Spin = random.RandomInt(5) - 2;
}

void GameWorld::AgeMissiles() {
  for (int m = 1; m <= kMissileSlots; ++m) {
    TMissile& missile = state.Missiles[m];
    if (missile.Life <= 0) continue;
    --missile.Life;
    BitBlt(field, ToPixels(missile.OldX) - 1, ToPixels(missile.OldY) - 1, 3, 3, CleanBack,
           ToPixels(missile.OldX) - 1, ToPixels(missile.OldY) - 1, SRCCOPY);
    MissileHitsRock(m, missile.X, missile.Y);
  }
}

void GameWorld::MissileHitsRock(int m, std::int32_t x, std::int32_t y) {
  RockTable& rocks = state.CurRocks();
  const int p = state.CurPlayer;
  for (int i = 1; i <= kRockSlots; ++i) {
    TRock& rock = rocks[i];
    if (!rock.Active || !InBox(x, y, rock.X, rock.Y, RockSizeOf(rock.Size).missileBox)) continue;

    state.Missiles[m].Life = 0;
    const std::int32_t rx = rock.X;
    const std::int32_t ry = rock.Y;
    if (rock.Size == kBig || rock.Size == kMedium) {
      const std::int32_t piece = rock.Size + 1;
      const std::int32_t points = RockSizeOf(rock.Size).points;
      SpawnRock(i, piece, rx, ry);
      // A round holds at most 8 big rocks of 4 slots each, so a free slot is
      // always found; should the table ever be full, the second piece is lost
      // rather than written outside it.
      if (const int j = FirstFreeSlot(rocks); j != 0) {
        SpawnRock(j, piece, rx, ry);
        if (piece == kSmall && random.RandomInt(32) + 3 < state.RoundNo[p])
          rocks[j].Hard = true;
        else
          ++state.RockCount[p];
      }
      state.Score[p] += points;
      ShowScore();
    } else if (!rock.Hard) {
      rock.Active = false;
      if (--state.RockCount[p] == 0) state.RoundCleared = true;
      state.Score[p] += RockSizeOf(kSmall).points;
      ShowScore();
    }
    PlayEffect(Effect::Explosion);
    return;
  }
}

void GameWorld::ShipHitsRock(std::int32_t x, std::int32_t y) {
  const RockTable& rocks = state.CurRocks();
  for (int i = 1; i <= kRockSlots; ++i) {
    const TRock& rock = rocks[i];
    if (rock.Active && InBox(x, y, rock.X, rock.Y, RockSizeOf(rock.Size).shipBox))
      state.ShipHit = true;
  }
}

}  // namespace kelvarok
