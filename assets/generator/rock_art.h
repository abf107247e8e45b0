// Rocks: lumpy grey (or green) bodies with blotches and craters, lit from the
// upper left whichever way they have turned.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "assets/generator/colour.h"
#include "assets/generator/geometry.h"
#include "assets/generator/mottle.h"

namespace kelvarok::art {

enum class RockTint { kGrey, kGreen };

class RockShape {
 public:
  // A rock reaching at most `reach` pixels from its centre, its outline and
  // surface drawn from `seed`.
  RockShape(double reach, std::uint64_t seed);

  // What the rock shows at screen offset p from its centre when it has turned
  // counter-clockwise by `turn`.
  std::optional<Colour> At(Vec2 p, Direction turn, RockTint tint) const;

 private:
  struct Crater {
    Vec2 centre;
    double radius;
  };

  bool Inside(Vec2 q) const;

  double reach_;
  std::vector<Vec2> outline_;
  std::vector<Crater> craters_;
  Mottle coarse_;
  Mottle fine_;
};

}  // namespace kelvarok::art
