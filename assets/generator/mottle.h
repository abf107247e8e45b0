// Smooth random blotches (value noise) for the rocks' surfaces.
#pragma once

#include <array>
#include <cstdint>

#include "assets/generator/geometry.h"

namespace kelvarok::art {

class Mottle {
 public:
  // Blotches about `cell` pixels across, their values drawn from `seed`.
  Mottle(std::uint64_t seed, double cell);

  // 0..1 at point p; the pattern repeats every kGrid cells.
  double At(Vec2 p) const;

 private:
  static constexpr int kGrid = 16;

  double Node(int i, int j) const;

  double cell_;
  std::array<double, kGrid * kGrid> nodes_{};
};

}  // namespace kelvarok::art
