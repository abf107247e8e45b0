// The game's sound on this desktop: the mixer on SDL's audio device, with the
// device's block-done messages delivered on the UI thread by Qt's event loop,
// and mixer failures shown in a message box once the current event is done
// (or printed on standard error, where no player is there to close a box).
#pragma once

#include "platform/clock.h"
#include "platform/ini_reader.h"
#include "platform/window_messages.h"
#include "sdl/sdl_wave_out.h"
#include "sound/game_sounds.h"
#include "sound/mixer_memory.h"
#include "sound/mixer_module.h"

namespace kelvarok {

class DesktopSound {
 public:
  // Makes the mixer when SDL offers an output device ("WAVEMIX.INI" is read
  // from the user's configuration directory). Needs a QApplication.
  enum class Failures { InMessageBox, OnStandardError };
  explicit DesktopSound(Failures failures = Failures::InMessageBox);
  ~DesktopSound();
  DesktopSound(const DesktopSound&) = delete;
  DesktopSound& operator=(const DesktopSound&) = delete;

  GameSounds& sounds() { return sounds_; }

 private:
  WindowMessages messages_;
  SdlWaveOut device_;
  SteadyClock clock_;
  IniFileReader ini_;
  HeapMixerMemory memory_;
  MixerModule mixer_;
  GameSounds sounds_;
};

}  // namespace kelvarok
