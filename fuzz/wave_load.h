// Loading one wave into a session of a chosen output format, for the wave
// loading fuzz targets.
#pragma once

#include <cstdint>
#include <memory>

#include "fuzz/virtual_mixer.h"

namespace kelvarok::fuzz {

// Opens the wave from source (flags as WaveMixOpenWave takes them) in a
// session of the format selector picks, checks it and frees it. A refused
// wave is no fault. The sessions live across inputs, one per format, since
// opening one costs more than loading most waves.
inline void LoadAndFree(std::uint8_t selector, const void* source, std::uint32_t flags) {
  struct Session {
    explicit Session(std::uint8_t format) {
      const TMixConfig config = SelectedFormat(format);
      handle = rig.mixer.WaveMixConfigureInit(&config);
    }
    ~Session() { rig.mixer.WaveMixCloseSession(handle); }
    VirtualMixer rig;
    HMIXSESSION handle;
  };
  static std::unique_ptr<Session> sessions[8];
  std::unique_ptr<Session>& session = sessions[selector & 7];
  if (!session) session = std::make_unique<Session>(selector);
  try {
    TMixWave* wave = session->rig.mixer.WaveMixOpenWave(session->handle, source, nullptr, flags);
    CheckLoadedWave(*wave);
    session->rig.mixer.WaveMixFreeWave(session->handle, wave);
  } catch (const EWaveMixError&) {
  }
}

}  // namespace kelvarok::fuzz
