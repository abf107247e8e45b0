#include "assets/sounds/generator/effect_recordings.h"

#include "assets/sounds/generator/effect_recipes.h"
#include "assets/sounds/generator/signal.h"

namespace kelvarok::sfx {

namespace {
constexpr std::string_view kSoftware = "Kelvarok";
}  // namespace

// The image sizes leave each "LIST" chunk the room for these texts.
const std::array<EffectRecording, 5> kEffectRecordings = {{
    {"explosion.wav",
     22050,
     23220,
     23346,
     {"Explosion", "Low-passed noise burst", kSoftware},
     Explosion},
    {"hyperspace.wav",
     11025,
     10461,
     10588,
     {"Hyperspace", "Rising warble sweep", kSoftware},
     Hyperspace},
    {"missile.wav", 11025, 2230, 2356, {"Missile", "Short zap, falling pitch", kSoftware}, Missile},
    {"thrust.wav", 11025, 5878, 6004, {"Thrust", "Low rumble, loud at once", kSoftware}, Thrust},
    {"bonus.wav",
     11025,
     8005,
     8242,
     {"Bonus",
      "Rising chime of four bell tones, G5 B5 D6 G6, each ringing into the next; "
      "heard when every rock of a bonus round was shot",
      kSoftware},
     Bonus},
}};

std::vector<std::uint8_t> BuildEffectImage(const EffectRecording& effect) {
  const std::vector<std::uint8_t> samples =
      ToUnsigned8(effect.synthesize(effect.data_bytes, effect.rate));
  return BuildWaveImage(samples, effect.rate, effect.info, effect.image_bytes);
}

}  // namespace kelvarok::sfx
