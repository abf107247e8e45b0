#include "sim/recorded_sound.h"

namespace kelvarok::sim {

RecordedSound::RecordedSound(Clock& clock, std::function<void(const std::string&)> report)
    : device_(messages_, clock),
      speaker_(device_, clock),
      recorder_(speaker_),
      mixer_(MixerServices{recorder_, messages_, ini_, clock, memory_, {}}),
      sounds_(GameSoundServices{mixer_, recorder_, messages_, std::move(report)},
              recorder_.waveOutGetNumDevs() > 0) {
  sounds_.LoadEffects();
}

void RecordedSound::ClockTicked() {
  speaker_.Poll();
  sounds_.DispatchMixerMessages();
}

}  // namespace kelvarok::sim
