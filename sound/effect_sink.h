// Where the main window sends the game's effects, and how it drives the sound
// behind them: loading, activation with the focus and the system wave volume.
// The game's sounds on the mixer are one; SilentEffectSink stands in where
// there is no sound at all.
#pragma once

#include <cstdint>

#include "game/effect.h"

namespace kelvarok {

class EffectSink {
 public:
  virtual ~EffectSink() = default;
  // A mixer exists (it may be inactive).
  virtual bool SoundAvailable() const = 0;
  virtual void LoadEffects() = 0;
  virtual void SoundEffect(Effect effect) = 0;
  virtual void SetActivated(bool value) = 0;
  // Sets the system wave volume from a SoundVolume percentage.
  virtual void ApplySoundVolume(std::int32_t percent) = 0;
  // At exit: puts back the volume found at start-up.
  virtual void RestoreSystemVolume() = 0;
};

// No sound: nothing is available, played or changed.
class SilentEffectSink final : public EffectSink {
 public:
  bool SoundAvailable() const override { return false; }
  void LoadEffects() override {}
  void SoundEffect(Effect) override {}
  void SetActivated(bool) override {}
  void ApplySoundVolume(std::int32_t) override {}
  void RestoreSystemVolume() override {}
};

}  // namespace kelvarok
