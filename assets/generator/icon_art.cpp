#include "assets/generator/icon_art.h"

#include <algorithm>
#include <vector>

#include "assets/generator/art_random.h"
#include "assets/generator/raster.h"
#include "assets/generator/ship_art.h"

namespace kelvarok::art {

namespace {

// Proportions of the icon's size. Small icons fill their square and show the
// ship larger, so that its arrowhead stays readable in a panel.
struct Layout {
  double tile_half;
  double ship_reach;
};
constexpr int kSmallestRoomy = 48;
constexpr Layout kRoomy{0.47, 0.40};
constexpr Layout kTight{0.50, 0.45};
constexpr double kCornerRadius = 0.19;
constexpr double kBorder = 0.018;

constexpr int kStarCount = 16;
constexpr int kSmallestWithStars = 32;
constexpr std::uint64_t kStarSeed = 0x1C0157A25ull;

constexpr Colour kSpaceGlow{0.10, 0.13, 0.30};
constexpr Colour kSpaceDeep{0.015, 0.02, 0.07};
constexpr Colour kBorderBlue{0.22, 0.30, 0.55};

struct Star {
  Vec2 at;  // in icon sizes from the centre
  double radius;
  double brightness;
};

std::vector<Star> MakeStars() {
  ArtRandom random(kStarSeed);
  std::vector<Star> stars;
  while (static_cast<int>(stars.size()) < kStarCount) {
    const Vec2 at{random.Between(-0.42, 0.42), random.Between(-0.42, 0.42)};
    const double radius = random.Between(0.004, 0.011);
    const double brightness = random.Between(0.45, 1.0);
    // Keep the ship's own disc clear.
    if (Length(at) > kRoomy.ship_reach + 0.02) stars.push_back({at, radius, brightness});
  }
  return stars;
}

// How far p (in icon sizes from the centre) lies inside the rounded tile: negative
// outside, 0 on its edge.
double TileDepth(Vec2 p, double tile_half) {
  const double inner = tile_half - kCornerRadius;
  const double dx = std::max(std::abs(p.x) - inner, 0.0), dy = std::max(std::abs(p.y) - inner, 0.0);
  if (dx > 0 && dy > 0) return kCornerRadius - Length({dx, dy});
  return tile_half - std::max(std::abs(p.x), std::abs(p.y));
}

}  // namespace

Bitmap DrawIcon(int size) {
  static const std::vector<Star> stars = MakeStars();
  const Layout layout = size >= kSmallestRoomy ? kRoomy : kTight;
  const double scale = layout.ship_reach * size / kShipReach;
  const Direction up_right = Direction::Step(1, 8);
  const ShipLook look{.shield = false, .flame = true};
  return DrawWithAlpha(size, [&](Vec2 p) -> std::optional<Colour> {
    const Vec2 from_centre = p - Vec2{size / 2.0, size / 2.0};
    if (auto ship = ShipAt(from_centre * (1 / scale), up_right, look)) return ship;
    const Vec2 q = from_centre * (1.0 / size);
    const double depth = TileDepth(q, layout.tile_half);
    if (depth < 0) return std::nullopt;
    if (depth < kBorder) return kBorderBlue;
    if (size >= kSmallestWithStars) {
      for (const Star& star : stars) {
        const Vec2 d = q - star.at;
        if (Dot(d, d) < star.radius * star.radius) return Colour{1, 1, 1} * star.brightness;
      }
    }
    // Faint glow towards the upper left, fading into deep space.
    const double glow = std::clamp(1 - Length(q - Vec2{-0.2, -0.25}) / 0.75, 0.0, 1.0);
    return Mix(kSpaceDeep, kSpaceGlow, glow);
  });
}

}  // namespace kelvarok::art
