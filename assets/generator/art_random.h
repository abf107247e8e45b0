// A small seeded generator for the art: the same seed gives the same pictures
// on every machine, unlike the standard library's distributions.
#pragma once

#include <cstdint>

namespace kelvarok::art {

class ArtRandom {
 public:
  explicit ArtRandom(std::uint64_t seed) : state_(seed) {}

  // splitmix64: every seed, including 0, gives a well-mixed sequence.
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // Uniform in [0, 1), exact in a double.
  double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

  // Uniform in [low, high).
  double Between(double low, double high) { return low + (high - low) * Unit(); }

  // Uniform integer in [0, n).
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }

 private:
  std::uint64_t state_;
};

}  // namespace kelvarok::art
