// A mixer on the virtual device and clock, for the fuzz targets.
#pragma once

#include <cstdint>
#include <cstring>
#include <numeric>
#include <string>

#include "fuzz/fuzz_check.h"
#include "platform/ini_reader.h"
#include "platform/virtual_wave_out.h"
#include "sound/mixer_module.h"

namespace kelvarok::fuzz {

struct VirtualMixer {
  explicit VirtualMixer(std::string ini_text = {}) : ini(std::move(ini_text)) {}

  // Lets virtual time pass as the program's message loop would.
  void RunFor(std::uint32_t ms) {
    for (std::uint32_t i = 0; i < ms; ++i) {
      clock.Advance(1);
      device.Poll();
      messages.DispatchPending();
    }
  }

  WindowMessages messages;
  VirtualClock clock;
  VirtualWaveOut device{messages, clock};
  IniTextReader ini;
  HeapMixerMemory memory;
  MixerModule mixer{{device, messages, ini, clock, memory, {}}};
};

// The output format a selector byte asks for: bit 0 the channels, bits 1 and
// 2 the rate, so that every conversion path is reached.
inline TMixConfig SelectedFormat(std::uint8_t selector) {
  TMixConfig config;
  config.dwFlags = MixConfigChannels | MixConfigSamplingRate;
  config.wChannels = static_cast<std::uint16_t>(1 + (selector & 1));
  constexpr std::uint16_t kRates[] = {11, 22, 44, 11};
  config.wSamplingRate = kRates[(selector >> 1) & 3];
  return config;
}

// Where CheckLoadedWave leaves its sum, so that the reads are not left out.
inline volatile unsigned sample_sum = 0;

// A loaded wave keeps a name that fits its field and samples in the output
// format; every sample is read, so a buffer shorter than its stated length
// is caught.
inline void CheckLoadedWave(const TMixWave& wave) {
  Check(std::memchr(wave.Name, 0, sizeof wave.Name) != nullptr,
        "the wave's name ends in its field");
  Check(wave.Header.dwBufferLength > 0 && wave.Header.lpData != nullptr, "a wave has samples");
  const auto* samples = reinterpret_cast<const std::uint8_t*>(wave.Header.lpData);
  sample_sum = std::accumulate(samples, samples + wave.Header.dwBufferLength, 0u);
}

}  // namespace kelvarok::fuzz
