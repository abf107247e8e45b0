#include "assets/generator/ship_art.h"

#include <array>
#include <cmath>

namespace kelvarok::art {

namespace {

constexpr double kBallRadius = 5.3;
constexpr double kSpikeBase = 3.8;  // distance of the spike's base from the centre
constexpr double kSpikeTip = 10.1;
constexpr double kSpikeHalfWidth = 2.9;
constexpr double kRingInner = 10.5;
constexpr double kRingOuter = 12.9;
constexpr double kArcHalfSpanSin = 0.5446;  // sin 33°: four arcs of 66° with 24° gaps
constexpr double kFlameStart = 4.0;
constexpr double kFlameEnd = 13.0;
constexpr double kFlameHalfWidth = 2.1;
constexpr double kCoreEnd = 9.5;
constexpr double kCoreHalfWidth = 1.2;

constexpr Colour kBallGrey{0.60, 0.62, 0.66};
constexpr Colour kSpikeGrey{0.90, 0.91, 0.94};
constexpr Colour kRingGrey{0.68, 0.70, 0.75};
constexpr Colour kShieldGreen{0.16, 0.88, 0.30};
constexpr Colour kFlameOrange{1.00, 0.46, 0.04};
constexpr Colour kFlameRed{0.80, 0.16, 0.02};
constexpr Colour kCoreYellow{1.00, 0.93, 0.30};
constexpr Colour kCoreWhite{1.00, 1.00, 0.85};

std::optional<Colour> BallAt(Vec2 p) {
  if (Dot(p, p) > kBallRadius * kBallRadius) return std::nullopt;
  const Normal n = SphereNormal(p, kBallRadius);
  return Lit(kBallGrey, Diffuse(n), 0.85 * Glint(n));
}

std::optional<Colour> SpikeAt(Vec2 p, Direction heading) {
  const Vec2 q = heading.ToLocal(p);
  const double t = (q.x - kSpikeBase) / (kSpikeTip - kSpikeBase);
  if (t < 0 || t >= 1) return std::nullopt;  // the tip itself has no width
  const double half = kSpikeHalfWidth * (1 - t);
  if (std::abs(q.y) > half) return std::nullopt;
  const Normal n = TubeNormal(heading.Side(), q.y / half);
  return Lit(kSpikeGrey, Diffuse(n), 0.6 * Glint(n));
}

// The arc whose middle points along `middle`, for p relative to the ring's centre.
std::optional<Colour> ArcAt(Vec2 p, Direction middle, Colour base) {
  const double r2 = Dot(p, p);
  if (r2 < kRingInner * kRingInner || r2 > kRingOuter * kRingOuter) return std::nullopt;
  const Vec2 q = middle.ToLocal(p);
  const double r = std::sqrt(r2);
  if (q.x <= 0 || std::abs(q.y) > r * kArcHalfSpanSin) return std::nullopt;
  const double mid = (kRingInner + kRingOuter) / 2, half = (kRingOuter - kRingInner) / 2;
  const Normal n = TubeNormal(p * (1 / r), (r - mid) / half);
  return Lit(base, Diffuse(n), 0.5 * Glint(n));
}

// The four arcs sit between the nose, the two sides and the tail.
std::optional<Colour> RingAt(Vec2 p, Direction heading, Colour base) {
  static const std::array<Direction, 4> kDiagonals = {Direction::Step(1, 8), Direction::Step(3, 8),
                                                      Direction::Step(5, 8), Direction::Step(7, 8)};
  for (const Direction& diagonal : kDiagonals) {
    if (auto c = ArcAt(p, heading.Plus(diagonal), base)) return c;
  }
  return std::nullopt;
}

std::optional<Colour> FlameAt(Vec2 p, Direction heading) {
  const Vec2 q = heading.ToLocal(p);
  const double behind = -q.x;
  const double t = (behind - kFlameStart) / (kFlameEnd - kFlameStart);
  if (t < 0 || t >= 1) return std::nullopt;
  const double half = kFlameHalfWidth * std::sqrt(1 - t);
  const double across = std::abs(q.y) / half;
  if (across > 1) return std::nullopt;
  const double tc = (behind - kFlameStart) / (kCoreEnd - kFlameStart);
  if (tc < 1 && std::abs(q.y) <= kCoreHalfWidth * std::sqrt(1 - tc))
    return Mix(kCoreWhite, kCoreYellow, tc);
  return Mix(kFlameOrange, kFlameRed, t) * (1 - 0.25 * across);
}

}  // namespace

std::optional<Colour> ShipAt(Vec2 p, Direction heading, ShipLook look) {
  if (auto c = BallAt(p)) return c;
  if (auto c = SpikeAt(p, heading)) return c;
  if (auto c = RingAt(p, heading, look.shield ? kShieldGreen : kRingGrey)) return c;
  if (look.flame) return FlameAt(p, heading);
  return std::nullopt;
}

std::optional<Colour> ShipBodyAt(Vec2 p, Direction heading) {
  if (auto c = BallAt(p)) return c;
  return SpikeAt(p, heading);
}

std::optional<Colour> RingArcAt(Vec2 p, Vec2 hub, Direction middle) {
  return ArcAt(p - hub, middle, kRingGrey);
}

}  // namespace kelvarok::art
