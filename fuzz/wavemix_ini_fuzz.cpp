// Fuzzes the reading of WAVEMIX.INI: the input is the file's text. A session
// opened with it must have a format and block layout the mixer can play, and
// must play a wave through activation and deactivation.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/virtual_mixer.h"
#include "tests/sound/wave_image.h"

using namespace kelvarok;
using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::VirtualMixer rig(std::string(reinterpret_cast<const char*>(data), size));
  MixerModule& mixer = rig.mixer;
  HMIXSESSION session = nullptr;
  try {
    session = mixer.WaveMixInit();
  } catch (const EWaveMixError&) {
    // A device the file calls incompatible is refused.
    Check(mixer.CurrentSession() == nullptr, "a refused session is gone");
    return 0;
  }
  const WAVEFORMATEX& format = session->Format;
  Check(format.nChannels == 1 || format.nChannels == 2, "one or two output channels");
  Check(format.nSamplesPerSec == 11025 || format.nSamplesPerSec == 22050 ||
            format.nSamplesPerSec == 44100,
        "an output rate of 11025, 22050 or 44100");
  Check(format.nAvgBytesPerSec == format.nChannels * format.nSamplesPerSec,
        "bytes per second match the format");
  Check(session->BlockCount >= 2 && session->BlockCount <= kBlockTableSize, "2 to 6 blocks");
  Check(session->BlockLength >= 512 && session->BlockLength <= kBlockDataSize,
        "a block length of 512 to 4096 bytes");
  std::vector<std::uint8_t> image = testing::WaveImage({.data = testing::Ramp(3000)});
  MMIOINFO info = testing::MemoryInfo(image);
  TMixWave* wave = mixer.WaveMixOpenWave(session, &info, nullptr, MixWaveFromMemory);
  mixer.WaveMixOpenChannel(session, 0, MixOpenSingle);
  mixer.WaveMixActivate(session, true);
  TMixPlayParams params;
  params.hMixSession = session;
  params.lpMixWave = wave;
  mixer.WaveMixPlay(&params);
  rig.RunFor(30);
  mixer.WaveMixActivate(session, false);
  mixer.WaveMixFreeWave(session, wave);
  mixer.WaveMixCloseSession(session);
  return 0;
}
