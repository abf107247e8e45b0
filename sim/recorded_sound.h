// The game's sound in a headless run: the mixer on a virtual device that runs
// on the run's clock, recorded from start to end into a WAV file as it plays.
// The recording is what the mixer plays, before any system volume.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "platform/ini_reader.h"
#include "platform/wave_recorder.h"
#include "sim/continuous_wave_out.h"
#include "sim/virtual_flow_host.h"
#include "sound/game_sounds.h"
#include "sound/mixer_memory.h"

namespace kelvarok::sim {

class RecordedSound final : public HostSound {
 public:
  // report receives the mixer's failures (the desktop shows them in a box).
  RecordedSound(Clock& clock, std::function<void(const std::string&)> report);

  void SoundEffect(Effect effect) override { sounds_.SoundEffect(effect); }
  void SetActivated(bool activated) override { sounds_.SetActivated(activated); }
  void ClockTicked() override;

  // Records into a WAV file at path from now on; false when it cannot be
  // created. Call before the run.
  bool RecordTo(const std::filesystem::path& path) { return recorder_.StreamTo(path); }
  // Completes the file after the run; false when it could not be written.
  bool Finish() { return recorder_.FinishStream(); }

 private:
  WindowMessages messages_;
  VirtualWaveOut device_;
  ContinuousWaveOut speaker_;
  WaveRecorder recorder_;
  IniTextReader ini_;  // no "WAVEMIX.INI": the mixer's defaults
  HeapMixerMemory memory_;
  MixerModule mixer_;
  GameSounds sounds_;
};

}  // namespace kelvarok::sim
