// Per-frame motion with the two wrap rules, rock velocities, the score panel
// and the placement of a fresh ship.
#include <cmath>
#include <string>

#include "game/game_world.h"

namespace kelvarok {

namespace {

// Adds one frame of velocity; y shrinks by VY because VY is stored upward.
template <typename Wrap>
void Step(std::int32_t& x, std::int32_t& y, std::int32_t vx, std::int32_t vy, const GameState& s,
          Wrap wrap) {
  x = wrap(x + vx, s.FieldW);
  y = wrap(y - vy, s.FieldH);
}

}  // namespace

void GameWorld::MoveShip() {
  TShip& ship = state.CurShip();
  Step(ship.X, ship.Y, ship.VX, ship.VY, state, EdgeWrap);
}

void GameWorld::MoveRocks() {
  RockTable& rocks = state.CurRocks();
  for (int i = 1; i <= kRockSlots; ++i) {
    TRock& rock = rocks[i];
    if (rock.Active) Step(rock.X, rock.Y, rock.VX, rock.VY, state, EdgeWrap);
  }
}

void GameWorld::MoveMissiles() {
  for (int m = 1; m <= kMissileSlots; ++m) {
    TMissile& missile = state.Missiles[m];
    if (missile.Life > 0) Step(missile.X, missile.Y, missile.VX, missile.VY, state, CarryWrap);
  }
}

void GameWorld::MoveMissilesNoWrap() {
  for (int m = 1; m <= kMissileSlots; ++m) {
    TMissile& missile = state.Missiles[m];
    if (missile.Life > 0) {
      missile.X += missile.VX;
      missile.Y -= missile.VY;
    }
  }
}

std::int32_t GameWorld::RandomVelocity() {
  const std::int32_t speed = state.RockSpeed[state.CurPlayer];
  return static_cast<std::int32_t>(std::lround(random.RandomReal() * speed - speed / 2));
}

void GameWorld::ShowScore() {
  host_.SetScoreCaption(state.CurPlayer, std::to_string(state.Score[state.CurPlayer]));
}

// A fresh ship waits at rest in the middle of the field, nose up: the spot
// farthest from every edge, where the player has the most room to react, and
// in the bonus round the point the rock row's path is symmetric about.
void GameWorld::NewShip() {
  TShip& ship = state.CurShip();
  ship.X = state.FieldW / 2;
  ship.Y = state.FieldH / 2;
  ship.VX = 0;
  ship.VY = 0;
  ship.Heading = 9;
  ship.OldX = ship.X;
  ship.OldY = ship.Y;
  ship.Thrusting = false;
}

}  // namespace kelvarok
