// The controls as one frame reads them: the five actions, each from its key
// or from the current player's stick. A frame samples them once and then acts
// on the sample, so a replay can hand a frame exactly what it read.
#pragma once

#include <cstdint>

namespace kelvarok {

struct ControlsSample {
  bool fire = false;
  bool hyperspace = false;
  bool thrust = false;
  bool left = false;
  bool right = false;
  friend bool operator==(const ControlsSample&, const ControlsSample&) = default;
};

// The actions as the bits of one number: fire 1, hyperspace 2, thrust 4,
// left 8, right 16.
constexpr int kControlBits = 5;

constexpr std::uint8_t ControlBits(const ControlsSample& sample) {
  return static_cast<std::uint8_t>((sample.fire ? 1 : 0) | (sample.hyperspace ? 2 : 0) |
                                   (sample.thrust ? 4 : 0) | (sample.left ? 8 : 0) |
                                   (sample.right ? 16 : 0));
}

constexpr ControlsSample ControlsFromBits(std::uint8_t bits) {
  return {.fire = (bits & 1) != 0,
          .hyperspace = (bits & 2) != 0,
          .thrust = (bits & 4) != 0,
          .left = (bits & 8) != 0,
          .right = (bits & 16) != 0};
}

}  // namespace kelvarok
