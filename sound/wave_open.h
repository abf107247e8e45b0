// Loading a RIFF WAVE from a file, a "WAVE" resource or a memory image into a
// wave record in a session's output format, and freeing it.
#pragma once

#include <cstdint>

#include "platform/wave_out.h"
#include "sound/mixer_memory.h"
#include "sound/mixer_types.h"
#include "sound/wave_resources.h"

namespace kelvarok {

// source is a file path, a resource name or number (with module), or an
// MMIOINFO describing a memory image, as flags say. The record and its
// samples come from memory; every refusal raises EWaveMixError and leaves
// nothing held.
TMixWave* OpenWave(const TMixSession& session, WaveOut& wave_out, MixerMemory& memory,
                   const void* source, WaveResourceModule* module, std::uint32_t flags);

// Frees a record OpenWave made, with its samples.
void ReleaseWave(MixerMemory& memory, TMixWave* wave);

}  // namespace kelvarok
