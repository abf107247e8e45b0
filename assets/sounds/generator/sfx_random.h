// The noise source of the effects: a seeded 64-bit linear congruential
// generator, so the recordings come out the same on every machine.
#pragma once

#include <cstdint>

namespace kelvarok::sfx {

class SfxRandom {
 public:
  explicit SfxRandom(std::uint64_t seed) : state_(seed) {}

  // Uniform in [-1, 1), from the generator's 53 best (top) bits.
  double Noise() {
    state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<double>(state_ >> 11) * 0x1.0p-52 - 1.0;
  }

 private:
  std::uint64_t state_;
};

}  // namespace kelvarok::sfx
