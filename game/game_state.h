// The model of a game in progress: ships, rock tables, the missile pool, the
// per-player counters and the flags through which the world reports to the
// round loop. Positions and velocities are pixels x 1024; VY is upward.
#pragma once

#include <array>
#include <cstdint>

#include "game/one_based.h"

namespace kelvarok {

constexpr int kPlayers = 2;
constexpr int kRockSlots = 32;
constexpr int kMissileSlots = 10;
constexpr int kHeadings = 36;
constexpr std::int32_t kFixedOne = 1024;  // one pixel

struct TShip {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  std::int32_t VX = 0;
  std::int32_t VY = 0;
  std::int32_t Heading = 0;  // 0..35; the debris frame 0..17 while crashing
  std::int32_t OldX = 0;
  std::int32_t OldY = 0;
  std::int32_t WarpTime = 0;
  bool Thrusting = false;
  friend bool operator==(const TShip&, const TShip&) = default;
};

struct TRock {
  bool Active = false;
  bool Hard = false;
  std::int32_t X = 0;
  std::int32_t Y = 0;
  std::int32_t VX = 0;
  std::int32_t VY = 0;
  std::int32_t OldX = 0;
  std::int32_t OldY = 0;
  std::int32_t Size = 1;   // 1 big, 2 medium, 3 small
  std::int32_t Frame = 0;  // 0..47; the strip column is Frame div 2
  std::int32_t Spin = 0;   // -2..2
  friend bool operator==(const TRock&, const TRock&) = default;
};

struct TMissile {
  std::int32_t Life = 0;  // frames left; 0 = free
  std::int32_t X = 0;
  std::int32_t Y = 0;
  std::int32_t VX = 0;
  std::int32_t VY = 0;
  std::int32_t OldX = 0;
  std::int32_t OldY = 0;
  friend bool operator==(const TMissile&, const TMissile&) = default;
};

using RockTable = OneBased<TRock, kRockSlots>;
template <typename T>
using PerPlayer = OneBased<T, kPlayers>;

// CosTab[i] and SinTab[i]: cos and sin of i x 10 degrees, x 1024, rounded.
struct DirectionTables {
  std::array<std::int32_t, kHeadings> CosTab{};
  std::array<std::int32_t, kHeadings> SinTab{};
};
DirectionTables BuildDirectionTables();

struct GameState {
  // fieldWidthPx x fieldHeightPx is the size of the background picture.
  GameState(int fieldWidthPx, int fieldHeightPx);

  PerPlayer<TShip> Ships;
  PerPlayer<RockTable> Rocks;
  OneBased<TMissile, kMissileSlots> Missiles;

  PerPlayer<std::int32_t> Score;
  PerPlayer<std::int32_t> ShipsLeft;
  PerPlayer<std::int32_t> RoundNo;
  PerPlayer<std::int32_t> RockCount;
  PerPlayer<std::int32_t> RockSpeed;

  std::int32_t NumPlayers = 1;
  std::int32_t CurPlayer = 1;
  std::int32_t ShieldTime = 0;

  bool GameOver = false;
  bool RoundCleared = false;
  bool ShipHit = false;
  bool FireLatch = false;
  bool BonusMode = false;

  std::int32_t FieldW;
  std::int32_t FieldH;
  std::array<std::int32_t, kHeadings> CosTab;
  std::array<std::int32_t, kHeadings> SinTab;

  TShip& CurShip() { return Ships[CurPlayer]; }
  RockTable& CurRocks() { return Rocks[CurPlayer]; }
};

}  // namespace kelvarok
