#include "assets/generator/rock_art.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "assets/generator/art_random.h"

namespace kelvarok::art {

namespace {

constexpr int kOutlinePoints = 48;
constexpr int kLumpHarmonics = 4;  // the outline's waves: 2 to 5 bumps around
constexpr int kCraterCount = 4;

constexpr Colour kGreyLight{0.60, 0.58, 0.55};
constexpr Colour kGreyDark{0.42, 0.43, 0.47};
constexpr Colour kGreenLight{0.36, 0.86, 0.34};
constexpr Colour kGreenDark{0.10, 0.50, 0.18};

// A crater's floor slopes towards its middle.
Normal Tilt(Normal n, Vec2 slope) {
  const double x = n.x + slope.x, y = n.y + slope.y, z = n.z;
  const double len = std::sqrt(x * x + y * y + z * z);
  return {x / len, y / len, z / len};
}

}  // namespace

RockShape::RockShape(double reach, std::uint64_t seed)
    : reach_(reach), coarse_(seed + 1, reach / 2.2), fine_(seed + 2, 1.6) {
  ArtRandom random(seed);
  std::array<double, kLumpHarmonics> amplitude{}, phase{};
  for (int k = 0; k < kLumpHarmonics; ++k) {
    amplitude[static_cast<std::size_t>(k)] = random.Between(0.03, 0.16) / (1 + 0.4 * k);
    phase[static_cast<std::size_t>(k)] = random.Between(0, 2 * kPi);
  }
  std::vector<double> radius(kOutlinePoints);
  for (int i = 0; i < kOutlinePoints; ++i) {
    const double angle = 2 * kPi * i / kOutlinePoints;
    double r = 1 + random.Between(-0.035, 0.035);
    for (int k = 0; k < kLumpHarmonics; ++k)
      r += amplitude[static_cast<std::size_t>(k)] *
           std::cos((k + 2) * angle + phase[static_cast<std::size_t>(k)]);
    radius[static_cast<std::size_t>(i)] = r;
  }
  const double largest = *std::max_element(radius.begin(), radius.end());
  for (int i = 0; i < kOutlinePoints; ++i) {
    const double r = radius[static_cast<std::size_t>(i)] / largest * reach;
    outline_.push_back(Direction::Step(i, kOutlinePoints).Along() * r);
  }
  // One large crater and a few small ones, scattered.
  for (int c = 0; c < kCraterCount; ++c) {
    const double along = random.Between(0.15, 0.68) * reach;
    const Vec2 centre = Direction(random.Between(0, 2 * kPi)).Along() * along;
    const double size = c == 0 ? random.Between(0.22, 0.30) : random.Between(0.09, 0.16);
    craters_.push_back({centre, size * reach});
  }
}

bool RockShape::Inside(Vec2 q) const {
  if (Dot(q, q) > reach_ * reach_) return false;  // every corner lies within reach
  bool inside = false;
  for (std::size_t i = 0, j = outline_.size() - 1; i < outline_.size(); j = i++) {
    const Vec2 a = outline_[i], b = outline_[j];
    if ((a.y > q.y) != (b.y > q.y) && q.x < a.x + (q.y - a.y) * (b.x - a.x) / (b.y - a.y))
      inside = !inside;
  }
  return inside;
}

std::optional<Colour> RockShape::At(Vec2 p, Direction turn, RockTint tint) const {
  const Vec2 q = turn.ToLocal(p);  // the point in the rock's own, unturned frame
  if (!Inside(q)) return std::nullopt;
  Normal n = SphereNormal(p, reach_ * 1.08);
  for (const Crater& crater : craters_) {
    const Vec2 offset = (p - turn.FromLocal(crater.centre)) * (1 / crater.radius);
    const double d2 = Dot(offset, offset);
    if (d2 < 1)
      n = Tilt(n, offset * -0.7);
    else if (d2 < 1.6)
      n = Tilt(n, offset * 0.25);  // the raised rim
  }
  const double blotch = coarse_.At(q), grain = fine_.At(q);
  const double light = Diffuse(n) * (0.68 + 0.48 * blotch + 0.24 * (grain - 0.5));
  const bool grey = tint == RockTint::kGrey;
  const Colour base = Mix(grey ? kGreyDark : kGreenDark, grey ? kGreyLight : kGreenLight,
                          std::clamp(0.25 + 0.6 * blotch, 0.0, 1.0));
  return base * (1.15 * light);
}

}  // namespace kelvarok::art
