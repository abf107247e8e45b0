#include "game/autopilot.h"

#include <cstdlib>
#include <limits>

#include "game/bonus_path.h"
#include "game/rock_sizes.h"

namespace kelvarok {

namespace {

constexpr std::int64_t kMissileStep = 10;  // a missile moves heading x 10 per frame
constexpr int kMissileFrames = 20;
constexpr int kThreatHorizon = 24;  // frames looked ahead for collisions
constexpr int kJumpWithin = 2;      // a hit this close: jump
constexpr std::int64_t kThreatMargin = 6 * kFixedOne;
constexpr std::int32_t kCruiseLimit = 3 * kFixedOne;  // brake above this speed per axis
constexpr std::int32_t kApproachLimit = kFixedOne + kFixedOne / 2;
constexpr int kAligned = 1;  // heading steps counted as pointing at it

int HeadingDistance(int from, int to) {
  const int d = ((to - from) % kHeadings + kHeadings) % kHeadings;
  return d <= kHeadings / 2 ? d : kHeadings - d;
}

}  // namespace

Autopilot::Autopilot(const GameWorld& world, KeyOutput output)
    : world_(world), output_(std::move(output)) {}

void Autopilot::Hold(int vk, bool down) {
  bool& held = held_[static_cast<std::size_t>(vk & 0xFF)];
  if (held == down) return;
  held = down;
  output_(vk, down);
}

void Autopilot::Tend(bool gameRunning) {
  const GameSettings& keys = world_.settings();
  if (!gameRunning || world_.state.GameOver) {
    for (const int vk :
         {keys.FireKey, keys.ThrustKey, keys.LeftKey, keys.RightKey, keys.HyperSpaceKey})
      Hold(vk, false);
  }
  Hold(VK_RETURN, gameRunning && !world_.state.GameOver);
}

void Autopilot::Steer() {
  const GameSettings& keys = world_.settings();
  const Controls c = Choose();
  // Fire is edge-triggered: a held key fires once, so let go every other frame.
  Hold(keys.FireKey, c.fire && !held_[keys.FireKey & 0xFF]);
  Hold(keys.ThrustKey, c.thrust);
  Hold(keys.LeftKey, c.left);
  Hold(keys.RightKey, c.right);
  Hold(keys.HyperSpaceKey, c.hyperspace);
}

Autopilot::Controls Autopilot::Choose() const {
  const GameState& s = world_.state;
  const TShip& ship = s.Ships[s.CurPlayer];
  Controls c;
  if (ship.WarpTime > 0 || s.GameOver) return c;
  c.fire = HeadingHits(ship.Heading);

  if (!s.BonusMode && s.ShieldTime <= kJumpWithin) {
    int slot = 0;
    const int threat = EarliestThreat(slot);
    if (threat <= kJumpWithin && s.ShieldTime == 0) {
      c.hyperspace = true;
      return c;
    }
    if (threat <= kThreatHorizon) {
      // Away from where the rock is heading to meet the ship.
      std::int64_t x = 0;
      std::int64_t y = 0;
      Predict(slot, threat, x, y);
      std::int64_t bestDot = std::numeric_limits<std::int64_t>::min();
      int away = ship.Heading;
      for (int h = 0; h < kHeadings; ++h) {
        const std::int64_t dot = (ship.X - x) * s.CosTab[static_cast<std::size_t>(h)] -
                                 (ship.Y - y) * s.SinTab[static_cast<std::size_t>(h)];
        if (dot > bestDot) {
          bestDot = dot;
          away = h;
        }
      }
      TurnToward(away, c);
      c.thrust = HeadingDistance(ship.Heading, away) <= 2;
      return c;
    }
  }
  const auto faster = [&ship](std::int32_t limit) {
    return std::abs(ship.VX) > limit || std::abs(ship.VY) > limit;
  };
  if (!s.BonusMode && faster(kCruiseLimit)) {
    Brake(c);
    return c;
  }
  int frames = 0;
  const int aim = InterceptHeading(frames);
  // With no rock in missile range, a ship too fast to approach slows down
  // first: drifting on at its speed, it could keep pace with a rock out of
  // reach for ever, and the game would never end.
  if (!s.BonusMode && (aim < 0 || frames > kMissileFrames) && faster(kApproachLimit - 1)) {
    Brake(c);
    return c;
  }
  if (aim < 0) return c;
  TurnToward(aim, c);
  // Out of missile range: drift slowly toward the rock.
  c.thrust = !s.BonusMode && frames > kMissileFrames &&
             HeadingDistance(ship.Heading, aim) <= kAligned && !faster(kApproachLimit - 1);
  return c;
}

void Autopilot::Brake(Controls& c) const {
  // Point against the velocity and thrust.
  const GameState& s = world_.state;
  const TShip& ship = s.Ships[s.CurPlayer];
  std::int64_t bestDot = std::numeric_limits<std::int64_t>::max();
  int against = ship.Heading;
  for (int h = 0; h < kHeadings; ++h) {
    const std::int64_t dot = std::int64_t{ship.VX} * s.CosTab[static_cast<std::size_t>(h)] +
                             std::int64_t{ship.VY} * s.SinTab[static_cast<std::size_t>(h)];
    if (dot < bestDot) {
      bestDot = dot;
      against = h;
    }
  }
  TurnToward(against, c);
  c.thrust = HeadingDistance(ship.Heading, against) <= kAligned;
}

void Autopilot::TurnToward(int heading, Controls& c) const {
  const int from = world_.state.Ships[world_.state.CurPlayer].Heading;
  const int d = ((heading - from) % kHeadings + kHeadings) % kHeadings;
  if (d == 0) return;
  // Left raises the heading (counter-clockwise), right lowers it.
  if (d <= kHeadings / 2) {
    c.left = true;
  } else {
    c.right = true;
  }
}

void Autopilot::Predict(int i, int frames, std::int64_t& x, std::int64_t& y) const {
  const GameState& s = world_.state;
  const TRock& rock = s.Rocks[s.CurPlayer][i];
  if (!s.BonusMode) {
    x = rock.X + std::int64_t{rock.VX} * frames;
    y = rock.Y - std::int64_t{rock.VY} * frames;
    return;
  }
  // Bonus rocks follow the path; the pass shows in which half of the field
  // the rock flies.
  x = rock.X + std::int64_t{4096} * frames;
  if (rock.X <= 0 || x <= 0) {
    y = rock.Y;
    return;
  }
  const std::int64_t k = BonusPathK(s.FieldW, s.FieldH);
  const int pass = rock.Y == BonusPathY(rock.X, s.FieldW, s.FieldH, k, 1) ? 1 : 2;
  y = BonusPathY(static_cast<std::int32_t>(x), s.FieldW, s.FieldH, k, pass);
}

bool Autopilot::HeadingHits(int heading) const {
  // A missile fired in the next frame leaves from where the ship will be then
  // and first meets the rocks one frame later.
  const GameState& s = world_.state;
  const TShip& ship = s.Ships[s.CurPlayer];
  const std::int64_t sx = ship.X + (s.BonusMode ? 0 : ship.VX);
  const std::int64_t sy = ship.Y - (s.BonusMode ? 0 : ship.VY);
  const std::int64_t mvx = kMissileStep * s.CosTab[static_cast<std::size_t>(heading)];
  const std::int64_t mvy = kMissileStep * s.SinTab[static_cast<std::size_t>(heading)];
  for (int i = 1; i <= kRockSlots; ++i) {
    const TRock& rock = s.Rocks[s.CurPlayer][i];
    if (!rock.Active || rock.Hard) continue;
    const std::int64_t box = RockSizeOf(rock.Size).missileBox;
    for (int j = 1; j <= kMissileFrames; ++j) {
      std::int64_t rx = 0;
      std::int64_t ry = 0;
      Predict(i, j + 1, rx, ry);
      if (std::abs(sx + mvx * j - rx) < box && std::abs(sy - mvy * j - ry) < box) return true;
    }
  }
  return false;
}

int Autopilot::InterceptHeading(int& frames) const {
  // The rock a missile can meet soonest, and the heading that meets it.
  const GameState& s = world_.state;
  const TShip& ship = s.Ships[s.CurPlayer];
  int best = -1;
  std::int64_t bestX = 0;
  std::int64_t bestY = 0;
  frames = std::numeric_limits<int>::max();
  for (int i = 1; i <= kRockSlots; ++i) {
    const TRock& rock = s.Rocks[s.CurPlayer][i];
    if (!rock.Active || rock.Hard) continue;
    for (int j = 1; j < frames && j <= 4 * kMissileFrames; ++j) {
      std::int64_t rx = 0;
      std::int64_t ry = 0;
      Predict(i, j + 1, rx, ry);
      const std::int64_t dx = rx - ship.X;
      const std::int64_t dy = ry - ship.Y;
      const std::int64_t reach = kMissileStep * kFixedOne * j;
      if (dx * dx + dy * dy <= reach * reach) {
        frames = j;
        best = i;
        bestX = dx;
        bestY = dy;
        break;
      }
    }
  }
  if (best < 0) return -1;
  std::int64_t bestDot = std::numeric_limits<std::int64_t>::min();
  int heading = ship.Heading;
  for (int h = 0; h < kHeadings; ++h) {
    const std::int64_t dot = bestX * s.CosTab[static_cast<std::size_t>(h)] -
                             bestY * s.SinTab[static_cast<std::size_t>(h)];
    if (dot > bestDot) {
      bestDot = dot;
      heading = h;
    }
  }
  return heading;
}

int Autopilot::EarliestThreat(int& rockSlot) const {
  const GameState& s = world_.state;
  const TShip& ship = s.Ships[s.CurPlayer];
  int earliest = std::numeric_limits<int>::max();
  for (int i = 1; i <= kRockSlots; ++i) {
    const TRock& rock = s.Rocks[s.CurPlayer][i];
    if (!rock.Active) continue;
    const std::int64_t box = RockSizeOf(rock.Size).shipBox + kThreatMargin;
    for (int j = 1; j <= kThreatHorizon && j < earliest; ++j) {
      std::int64_t rx = 0;
      std::int64_t ry = 0;
      Predict(i, j, rx, ry);
      const std::int64_t sx = ship.X + std::int64_t{ship.VX} * j;
      const std::int64_t sy = ship.Y - std::int64_t{ship.VY} * j;
      if (std::abs(sx - rx) < box && std::abs(sy - ry) < box) {
        earliest = j;
        rockSlot = i;
        break;
      }
    }
  }
  return earliest;
}

}  // namespace kelvarok
