#include "sound/mixer_memory.h"

#include <cstdlib>

#include "sound/mixer_messages.h"

namespace kelvarok {

void* HeapMixerMemory::Allocate(std::size_t bytes) {
  return std::calloc(1, bytes == 0 ? 1 : bytes);
}

void HeapMixerMemory::Release(void* block) {
  std::free(block);
}

MixBuffer AllocateSamples(MixerMemory& memory, std::size_t bytes) {
  void* data = memory.Allocate(bytes);
  if (data == nullptr) throw EWaveMixError(kOutOfMemoryMessage);
  return MixBuffer(memory, static_cast<std::uint8_t*>(data), bytes);
}

}  // namespace kelvarok
