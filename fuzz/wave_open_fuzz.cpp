// Fuzzes WaveMixOpenWave on memory images. The first byte picks the session's
// output format; the rest is the RIFF image.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/wave_load.h"
#include "platform/riff_reader.h"

using namespace kelvarok;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  // The image in a buffer of its own size, so that reading past it is caught.
  std::vector<char> image(data + 1, data + size);
  MMIOINFO info;
  info.fccIOProc = FOURCC_MEM;
  info.pchBuffer = image.data();
  info.cchBuffer = static_cast<std::int32_t>(image.size());
  fuzz::LoadAndFree(data[0], &info, MixWaveFromMemory);
  return 0;
}
