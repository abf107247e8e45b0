// Fuzzes WaveMixOpenWave on memory images. The first byte picks the session's
// output format (channels and rate), so that every conversion path is
// reached; the rest is the RIFF image.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/ini_reader.h"
#include "platform/riff_reader.h"
#include "platform/virtual_wave_out.h"
#include "sound/mixer_module.h"

namespace {

using namespace kelvarok;

struct Mixer {
  explicit Mixer(std::uint8_t selector) {
    TMixConfig config;
    config.dwFlags = MixConfigChannels | MixConfigSamplingRate;
    config.wChannels = static_cast<std::uint16_t>(1 + (selector & 1));
    const std::uint16_t rates[] = {11, 22, 44, 11};
    config.wSamplingRate = rates[(selector >> 1) & 3];
    session = mixer.WaveMixConfigureInit(&config);
  }
  ~Mixer() { mixer.WaveMixCloseSession(session); }

  WindowMessages messages;
  VirtualClock clock;
  VirtualWaveOut device{messages, clock};
  IniTextReader ini;
  HeapMixerMemory memory;
  MixerModule mixer{{device, messages, ini, clock, memory, {}}};
  HMIXSESSION session;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  static std::unique_ptr<Mixer> mixers[8];
  std::unique_ptr<Mixer>& slot = mixers[data[0] & 7];
  if (!slot) slot = std::make_unique<Mixer>(data[0]);
  // The image in a buffer of its own size, so that reading past it is caught.
  std::vector<char> image(data + 1, data + size);
  MMIOINFO info;
  info.fccIOProc = FOURCC_MEM;
  info.pchBuffer = image.data();
  info.cchBuffer = static_cast<std::int32_t>(image.size());
  try {
    TMixWave* wave = slot->mixer.WaveMixOpenWave(slot->session, &info, nullptr, MixWaveFromMemory);
    slot->mixer.WaveMixFreeWave(slot->session, wave);
  } catch (const EWaveMixError&) {
  }
  return 0;
}
