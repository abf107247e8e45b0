#include "game/random.h"

namespace kelvarok {

// PCG-XSH-RR 64/32 with a fixed increment.
namespace {
constexpr std::uint64_t kMultiplier = 6364136223846793005ull;
constexpr std::uint64_t kIncrement = 1442695040888963407ull;
}  // namespace

void Random::Seed(std::uint64_t seed) {
  state_ = 0;
  Next32();
  state_ += seed;
  Next32();
}

std::uint32_t Random::Next32() {
  const std::uint64_t old = state_;
  state_ = old * kMultiplier + kIncrement;
  const auto xorshifted = static_cast<std::uint32_t>(((old >> 18u) ^ old) >> 27u);
  const auto rot = static_cast<std::uint32_t>(old >> 59u);
  return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
}

std::int32_t Random::RandomInt(std::int32_t n) {
  if (n <= 0) return 0;
  // Unbiased: reject the few values that would favour the low results.
  const auto range = static_cast<std::uint32_t>(n);
  const std::uint32_t threshold = (0u - range) % range;
  for (;;) {
    const std::uint64_t product = std::uint64_t{Next32()} * range;
    if (static_cast<std::uint32_t>(product) >= threshold)
      return static_cast<std::int32_t>(product >> 32);
  }
}

double Random::RandomReal() {
  const std::uint64_t bits = (std::uint64_t{Next32()} << 21) | (std::uint64_t{Next32()} >> 11);
  return static_cast<double>(bits & ((1ull << 53) - 1)) * (1.0 / 9007199254740992.0);
}

}  // namespace kelvarok
