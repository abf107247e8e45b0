// The game's five sound effects on one mixer component: start-up, the effect
// requests, activation with the focus, the system wave volume, and release at
// exit. Nothing here throws: a mixer failure is handed to the report callback
// once and the game goes on. A block the device refuses is lost and play goes
// on; only a device that cannot be opened leaves the game silent, until the
// next activation opens it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/riff_reader.h"
#include "sound/effect_sink.h"
#include "sound/twavemix.h"

namespace kelvarok {

struct GameSoundServices {
  MixerModule& mixer;
  // The mixer's device: its WAVE_MAPPER volume is the system wave volume.
  WaveOut& wave_out;
  // The queue that carries the device's block-done messages to the mixer.
  WindowMessages& messages;
  // Shows a mixer failure's message to the player. Called at most once until
  // the next activation that succeeds, possibly from inside a game frame.
  std::function<void(const std::string& message)> report;
};

class GameSounds final : public EffectSink {
 public:
  // When sound is available: creates the mixer with its output format from
  // "WAVEMIX.INI" or the defaults, opens channels 0 to 4 and saves the system
  // wave volume. A mixer that cannot be made is reported; sound then stays
  // unavailable and no volume is read, set or restored.
  GameSounds(GameSoundServices services, bool sound_available);
  // Frees the effects (thrust, missile, hyperspace, explosion, bonus), then
  // the mixer.
  ~GameSounds() override;
  GameSounds(const GameSounds&) = delete;
  GameSounds& operator=(const GameSounds&) = delete;

  // Loads the five effects from the program's own images, in order 0 to 4. An
  // effect that cannot be loaded is reported and the mixer is freed: from then
  // on sound is unavailable.
  void LoadEffects() override;

  // A mixer exists (it may be inactive).
  bool SoundAvailable() const override { return mixer_ != nullptr; }
  bool Activated() const { return mixer_ != nullptr && mixer_->Activated(); }

  // Plays the effect on its own channel, cutting off that effect's previous
  // instance. Nothing without a mixer, while inactive, or for a value that
  // names no effect. The enable settings are the callers' business.
  void SoundEffect(Effect effect) override;

  // For the application's focus handlers: true opens the device and resumes
  // from where deactivation stopped, false closes it at once. A device that
  // cannot be opened is reported and leaves the mixer inactive; a block it
  // refuses once open is reported and the mixer stays active.
  void SetActivated(bool value) override;

  // Sets the system wave volume from a SoundVolume percentage.
  void ApplySoundVolume(std::int32_t percent) override;
  // At exit: puts back the volume found at start-up.
  void RestoreSystemVolume() override;

  // Delivers the device's pending block-done messages, which keep the mixer
  // fed; the host's event loop calls it whenever messages are queued. A block
  // the device refuses is reported and lost, and play goes on.
  void DispatchMixerMessages();

  // The loaded wave of effect n, or nullptr.
  const TMixWave* EffectWave(int n) const;

  // The device volume for a percentage: SoundVolume x 65535 / 100, truncated,
  // on both channels (left in the low word). A stored percentage outside
  // 0..100 counts as the nearer end, so a hand-edited value can neither
  // overflow nor come out as an arbitrary loudness.
  static std::uint32_t WaveVolume(std::int32_t percent);

 private:
  void FreeEffects();
  // Reports a failure, once until the next activation that succeeds.
  void Fail(const EWaveMixError& error);
  void Report(const std::string& message);

  GameSoundServices services_;
  std::unique_ptr<TWaveMix> mixer_;
  // Kept for the whole run: the mixer reads the images through them.
  std::array<MMIOINFO, kEffectCount> images_{};
  std::array<TMixWave*, kEffectCount> effects_{};
  std::optional<std::uint32_t> saved_volume_;
  bool failure_reported_ = false;
};

}  // namespace kelvarok
