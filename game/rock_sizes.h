// Per-size facts of a rock: sprite width, the hit boxes and the points.
#pragma once

#include <cstdint>

namespace kelvarok {

constexpr std::int32_t kBig = 1;
constexpr std::int32_t kMedium = 2;
constexpr std::int32_t kSmall = 3;

struct RockSize {
  int sprite;               // sprite width and height in pixels
  int half;                 // offset from the centre to the sprite's corner
  std::int32_t missileBox;  // a missile hits when both |dx| and |dy| are below
  std::int32_t shipBox;     // the ship is hit when both |dx| and |dy| are below
  std::int32_t points;      // for a missile hit (a hard rock gives none)
};

// Size 1 big, 2 medium, 3 small.
constexpr RockSize RockSizeOf(std::int32_t size) {
  switch (size) {
    case kBig:
      return {29, 14, 15360, 22528, 10};
    case kMedium:
      return {21, 10, 11264, 18432, 20};
    default:
      return {13, 6, 7168, 14336, 40};
  }
}

}  // namespace kelvarok
