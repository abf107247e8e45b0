// The game's one pseudo-random generator. Its sequence is fixed by this code
// alone (a 64-bit permuted congruential generator), so the same seed gives the
// same game on every machine and compiler.
#pragma once

#include <cstdint>

namespace kelvarok {

class Random {
 public:
  explicit Random(std::uint64_t seed = 0) { Seed(seed); }
  void Seed(std::uint64_t seed);
  // The whole state, to go on later exactly where the sequence stands now.
  std::uint64_t State() const { return state_; }
  void Restore(std::uint64_t state) { state_ = state; }

  // Uniform in 0 .. n - 1; 0 when n <= 0.
  std::int32_t RandomInt(std::int32_t n);
  // Uniform in [0, 1), 53 random bits.
  double RandomReal();

 private:
  std::uint32_t Next32();
  std::uint64_t state_ = 0;
};

}  // namespace kelvarok
