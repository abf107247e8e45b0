// The settings a session takes from "WAVEMIX.INI" and the rules that turn
// them into an output format and block layout.
#pragma once

#include <cstdint>

#include "platform/ini_reader.h"
#include "platform/wave_out.h"
#include "sound/mixer_types.h"

namespace kelvarok {

// Section "default", read before the device is known; each value is the
// default of the same key in the device's own section.
struct DefaultSettings {
  std::uint32_t remix = 1;
  std::uint32_t good_wave_pos = 0;
  std::uint32_t wave_blocks = 3;
  std::uint32_t wave_block_len = 0;  // low 16 bits, a multiple of 4
  std::uint32_t samples_per_sec = 11;
};

DefaultSettings ReadDefaultSettings(IniReader& ini);

// "WaveBlocks" as a block count: 2 to 6.
std::int32_t BlockCountOf(std::uint32_t wave_blocks);

// A rate code (11, 22, 44) as samples per second; other codes give 11025.
std::uint32_t SamplesPerSecOf(std::uint32_t code);
bool IsRateCode(std::uint32_t code);

// Bytes per output block: the device's "WaveBlockLen", else the default
// section's, each clamped to 512..4096; with neither, 2048 per 11025 samples
// per second, at most 4096. Always whole sample frames of block_align bytes.
std::uint32_t BlockLengthOf(std::uint32_t device_block_len, std::uint32_t default_block_len,
                            std::uint32_t samples_per_sec, std::uint16_t block_align);

// Fills a new session's device, output format, block layout and remix rule
// from "WAVEMIX.INI", the device's capabilities and config (which may be
// null). A device that is synchronous or listed as not compatible is refused.
void ApplySettings(TMixSession& session, IniReader& ini, WaveOut& wave_out,
                   const TMixConfig* config);

}  // namespace kelvarok
