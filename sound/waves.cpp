// Opening and freeing waves for the live session.
#include "sound/mixer_module.h"
#include "sound/wave_open.h"

namespace kelvarok {

TMixWave* MixerModule::WaveMixOpenWave(HMIXSESSION handle, const void* source,
                                       WaveResourceModule* module, std::uint32_t flags) {
  const TMixSession& session = Validate(handle);
  return OpenWave(session, services_.wave_out, services_.memory, source, module, flags);
}

void MixerModule::WaveMixFreeWave(HMIXSESSION handle, TMixWave* wave) {
  TMixSession& session = Validate(handle);
  if (wave == nullptr) throw EWaveMixError("The given pointer was not valid");
  entries_.DropWave(session, wave);
  ReleaseWave(services_.memory, wave);
}

}  // namespace kelvarok
