#include "assets/sounds/effect_sounds.h"

#include <array>
#include <cstddef>

namespace kelvarok {

namespace embedded {
#define KELVAROK_DECLARE_EFFECT(name)              \
  extern const std::uint8_t effect_##name##_wav[]; \
  extern const std::size_t effect_##name##_wav_size;
KELVAROK_DECLARE_EFFECT(explosion)
KELVAROK_DECLARE_EFFECT(hyperspace)
KELVAROK_DECLARE_EFFECT(missile)
KELVAROK_DECLARE_EFFECT(thrust)
KELVAROK_DECLARE_EFFECT(bonus)
#undef KELVAROK_DECLARE_EFFECT
}  // namespace embedded

std::span<const std::uint8_t> EffectSoundImage(int effect) {
  using namespace embedded;
  const std::array<std::span<const std::uint8_t>, kEffectSoundCount> images = {
      std::span(effect_explosion_wav, effect_explosion_wav_size),
      std::span(effect_hyperspace_wav, effect_hyperspace_wav_size),
      std::span(effect_missile_wav, effect_missile_wav_size),
      std::span(effect_thrust_wav, effect_thrust_wav_size),
      std::span(effect_bonus_wav, effect_bonus_wav_size),
  };
  if (effect < 0 || effect >= kEffectSoundCount) return {};
  return images[static_cast<std::size_t>(effect)];
}

}  // namespace kelvarok
