#include "assets/generator/ship_art.h"

#include <cmath>

namespace kelvarok::art {

namespace {

// The hull in the ship's own axes (x along the heading, y to the side), an
// arrow: a head whose two barbs sweep back from the tip, on a straight
// fuselage that ends square at the tail. Only the tip is sharp and it reaches
// farthest, so both the outline and the fuselage's line show where the ship
// points. The -y side mirrors the +y side given here.
constexpr Vec2 kTip{kShipReach, 0};
constexpr Vec2 kBarb{1.0, 5.4};
constexpr Vec2 kHeadBack{3.6, 0};  // where the barbs' back edges meet the spine
constexpr double kFuselageHalfWidth = 1.7;
constexpr double kTailX = -6.4;

// Each side of the hull is a flat facet sloping down from the spine, so the
// two sides catch the light differently; the side in shadow still shows its
// shape against the black field. A pale rim runs along the head's leading
// edges and the tail's end is dark.
constexpr double kFacetSlope = 0.12;
constexpr double kShadowFloor = 0.45;
constexpr double kEdgeWidth = 0.75;

// Where the wreck breaks: the nose piece is the hull in front of this line,
// the tail piece the fuselage behind it. Each piece turns about its own middle.
constexpr double kBreakX = 0.5;
constexpr Vec2 kNoseMiddle{3.4, 0};
constexpr Vec2 kTailMiddle{(kTailX + kBreakX) / 2, 0};

constexpr double kFlameStart = -kTailX;  // distances behind the centre
constexpr double kFlameEnd = 10.1;
constexpr double kFlameHalfWidth = 2.3;
constexpr double kCoreEnd = 8.8;
constexpr double kCoreHalfWidth = 1.1;

constexpr double kShieldInner = 12.2;
constexpr double kShieldOuter = 13.45;

constexpr Colour kNoseGrey{0.95, 0.96, 0.98};
constexpr Colour kTailGrey{0.70, 0.72, 0.76};
constexpr Colour kRimGrey{0.88, 0.89, 0.92};
constexpr Colour kTailEdgeGrey{0.28, 0.29, 0.32};
constexpr Colour kShieldGreen{0.25, 1.00, 0.40};
constexpr Colour kFlameOrange{1.00, 0.46, 0.04};
constexpr Colour kFlameRed{0.80, 0.16, 0.02};
constexpr Colour kCoreYellow{1.00, 0.93, 0.30};
constexpr Colour kCoreWhite{1.00, 1.00, 0.85};

// The distance of p from the line from a to b, signed like the cross product
// (b - a) x (p - a).
double LeftOf(Vec2 a, Vec2 b, Vec2 p) {
  return ((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x)) / Length(b - a);
}

// The hull at q in the ship's own axes, the ship's nose along `heading`.
std::optional<Colour> HullAt(Vec2 q, Direction heading) {
  const Vec2 half{q.x, std::abs(q.y)};
  const double behind_leading_edge = LeftOf(kTip, kBarb, half);
  const bool in_head = behind_leading_edge >= 0 && LeftOf(kBarb, kHeadBack, half) >= 0;
  const bool in_fuselage =
      half.x >= kTailX && half.x <= kHeadBack.x && half.y <= kFuselageHalfWidth;
  if (!in_head && !in_fuselage) return std::nullopt;
  const Vec2 slope = heading.Side() * (q.y < 0 ? -kFacetSlope : kFacetSlope);
  const Normal facet{slope.x, slope.y, std::sqrt(1 - kFacetSlope * kFacetSlope)};
  const double light = kShadowFloor + (1 - kShadowFloor) * Diffuse(facet);
  if (in_head && behind_leading_edge < kEdgeWidth)
    return Lit(kRimGrey, 0.5 + 0.5 * light, 0.3 * Glint(facet));
  if (half.x < kTailX + kEdgeWidth) return kTailEdgeGrey * light;
  const double along = (q.x - kTailX) / (kTip.x - kTailX);
  return Lit(Mix(kTailGrey, kNoseGrey, along), light, 0.3 * Glint(facet));
}

std::optional<Colour> ShieldAt(Vec2 p) {
  const double r = Length(p);
  if (r < kShieldInner || r > kShieldOuter) return std::nullopt;
  const double mid = (kShieldInner + kShieldOuter) / 2, half = (kShieldOuter - kShieldInner) / 2;
  const Normal n = TubeNormal(p * (1 / r), (r - mid) / half);
  // Lit flatter than the hull, so the ring stays bright all the way round.
  return Lit(kShieldGreen, 0.5 + 0.5 * Diffuse(n), 0.5 * Glint(n));
}

std::optional<Colour> FlameAt(Vec2 q) {
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
  const Vec2 q = heading.ToLocal(p);
  if (auto c = HullAt(q, heading)) return c;
  if (look.flame) {
    if (auto c = FlameAt(q)) return c;
  }
  if (look.shield) return ShieldAt(p);
  return std::nullopt;
}

std::optional<Colour> ShipNosePieceAt(Vec2 p, Direction turn) {
  const Vec2 q = turn.ToLocal(p) + kNoseMiddle;
  if (q.x < kBreakX) return std::nullopt;
  return HullAt(q, turn);
}

std::optional<Colour> ShipTailPieceAt(Vec2 p, Direction turn) {
  const Vec2 q = turn.ToLocal(p) + kTailMiddle;
  if (q.x >= kBreakX) return std::nullopt;
  return HullAt(q, turn);
}

}  // namespace kelvarok::art
