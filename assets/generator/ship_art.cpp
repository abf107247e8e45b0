#include "assets/generator/ship_art.h"

#include <algorithm>
#include <cmath>

namespace kelvarok::art {

namespace {

// The hull's outline in the ship's own axes (x along the heading, y to the
// side): the tip, the tip of the wing on the +y side (the other wing mirrors
// it) and the notch in the tail between the wings. The tip reaches farthest,
// so the outline points the way the ship flies.
constexpr Vec2 kTip{kShipReach, 0};
constexpr Vec2 kWingTip{-6.8, 6.0};
constexpr Vec2 kNotch{-3.4, 0};

// The canopy: an ellipse on the spine in front of the centre.
constexpr Vec2 kCanopyCentre{2.6, 0};
constexpr double kCanopyHalfLength = 2.3;
constexpr double kCanopyHalfWidth = 1.15;

// Each half of the hull is a flat facet sloping down from the spine to its
// wing, so the two halves catch the light differently; the half in shadow
// still shows its shape against the black field, and a pale rim runs along
// the leading edges from the tip to the wing tips.
constexpr double kFacetSlope = 0.3;
constexpr double kShadowFloor = 0.35;
constexpr double kRimWidth = 0.75;

// Where the wreck breaks: the nose piece is the hull in front of this line,
// the wing pieces lie behind it. Each piece turns about its own middle.
constexpr double kBreakX = 0.0;
constexpr Vec2 kNoseMiddle{3.4, 0};
constexpr Vec2 kWingMiddle{-2.8, 2.6};

constexpr double kFlameStart = 2.9;  // distances behind the centre
constexpr double kFlameEnd = 9.6;
constexpr double kFlameHalfWidth = 2.2;
constexpr double kCoreEnd = 7.2;
constexpr double kCoreHalfWidth = 1.1;

constexpr double kShieldInner = 12.2;
constexpr double kShieldOuter = 13.45;

constexpr Colour kNoseGrey{0.86, 0.87, 0.90};
constexpr Colour kTailGrey{0.60, 0.62, 0.66};
constexpr Colour kRimGrey{0.88, 0.89, 0.92};
constexpr Colour kCanopyGrey{0.30, 0.33, 0.42};
constexpr Colour kShieldGreen{0.25, 1.00, 0.40};
constexpr Colour kFlameOrange{1.00, 0.46, 0.04};
constexpr Colour kFlameRed{0.80, 0.16, 0.02};
constexpr Colour kCoreYellow{1.00, 0.93, 0.30};
constexpr Colour kCoreWhite{1.00, 1.00, 0.85};

// Which side of the line from a to b the point p lies on, by sign.
double Turn(Vec2 a, Vec2 b, Vec2 p) {
  return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
}

// Each half of the hull is the triangle tip, wing tip, notch, which runs
// counter-clockwise in the ship's axes; its third side lies on the spine.
bool InsideHull(Vec2 q) {
  const Vec2 half{q.x, std::abs(q.y)};
  return Turn(kTip, kWingTip, half) >= 0 && Turn(kWingTip, kNotch, half) >= 0;
}

// The hull at q in the ship's own axes, the ship's nose along `heading`.
std::optional<Colour> HullAt(Vec2 q, Direction heading) {
  if (!InsideHull(q)) return std::nullopt;
  const Vec2 slope = heading.Side() * (q.y < 0 ? -kFacetSlope : kFacetSlope);
  const double z = std::sqrt(1 - kFacetSlope * kFacetSlope);
  const Normal facet{slope.x, slope.y, z};
  const Vec2 c = q - kCanopyCentre;
  const double cx = c.x / kCanopyHalfLength, cy = c.y / kCanopyHalfWidth;
  if (cx * cx + cy * cy <= 1) {
    const Vec2 bulge = heading.FromLocal({cx, cy}) * 0.8;
    const Normal glass{bulge.x, bulge.y, std::sqrt(std::max(0.0, 1 - Dot(bulge, bulge)))};
    return Lit(kCanopyGrey, Diffuse(glass), 0.9 * Glint(glass));
  }
  const double light = kShadowFloor + (1 - kShadowFloor) * Diffuse(facet);
  const Vec2 half{q.x, std::abs(q.y)};
  if (Turn(kTip, kWingTip, half) < kRimWidth * Length(kWingTip - kTip))
    return Lit(kRimGrey, 0.5 + 0.5 * light, 0.3 * Glint(facet));
  const double along = (q.x - kWingTip.x) / (kTip.x - kWingTip.x);
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

std::optional<Colour> ShipWingPieceAt(Vec2 p, Direction turn) {
  const Vec2 q = turn.ToLocal(p) + kWingMiddle;
  if (q.x >= kBreakX || q.y < 0) return std::nullopt;
  return HullAt(q, turn);
}

}  // namespace kelvarok::art
