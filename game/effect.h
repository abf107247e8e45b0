// The game's five sound effects, named beside the rules that play them. Each
// number is its mixer channel, its recording's index (assets/sounds) and what
// the simulator's trace writes.
#pragma once

namespace kelvarok {

enum class Effect { Explosion = 0, Hyperspace = 1, Missile = 2, Thrust = 3, Bonus = 4 };

inline constexpr int kEffectCount = 5;

constexpr int EffectNumber(Effect effect) {
  return static_cast<int>(effect);
}

}  // namespace kelvarok
