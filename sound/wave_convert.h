// Conversion of loaded samples to the session's output format: sample width,
// then channels, then rate. Each step makes a new buffer and releases its
// input, also when it fails.
#pragma once

#include "platform/wave_out.h"
#include "sound/mixer_memory.h"

namespace kelvarok {

// Raises "File format not supported" for what the steps cannot convert (a
// width other than 8 or 16, more than two channels, no rate, less than one
// frame). An empty result means the rate step had nothing to give.
MixBuffer ConvertWave(MixBuffer samples, const WAVEFORMATEX& source, const WAVEFORMATEX& output,
                      MixerMemory& memory);

}  // namespace kelvarok
