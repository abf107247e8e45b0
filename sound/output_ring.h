// The output blocks and the device queue: the blocks handed to the device and
// not yet done, in the order of the output. A block is free, or claimed for
// mixing, or queued.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/wave_out.h"
#include "sound/mixer_memory.h"
#include "sound/mixer_types.h"

namespace kelvarok {

class OutputRing {
 public:
  OutputRing(WaveOut& wave_out, MixerMemory& memory);
  OutputRing(const OutputRing&) = delete;
  OutputRing& operator=(const OutputRing&) = delete;

  // Allocates every block and prepares it for the device; when that fails,
  // none is held and the failure is raised.
  void Allocate(HWAVEOUT device, std::uint32_t block_length);
  // Frees every block, unpreparing the prepared ones when a device is given.
  void Release(HWAVEOUT device);

  // A free block among the first count, made ready to mix length bytes for
  // owner; null when none is free.
  TMixBlock* Claim(std::int32_t count, std::uint32_t length, TMixSession* owner);
  void Append(TMixBlock* block);
  // Hands a queued block to the device. A block the device refuses is free
  // again and out of the queue, its stretch of sound lost: false then.
  bool Write(HWAVEOUT device, TMixBlock* block);
  // Writes every queued block; false when the device refused any.
  bool WriteQueued(HWAVEOUT device);
  // Frees the blocks the device is done with.
  void RetireDone();
  // Frees every queued block; the device must have let go of them.
  void FreeQueued();

  bool Empty() const { return queue_.empty(); }
  std::vector<const TMixBlock*> Queue() const { return {queue_.begin(), queue_.end()}; }

 private:
  void Remove(TMixBlock* block);

  WaveOut& wave_out_;
  MixerMemory& memory_;
  std::array<TMixBlock*, kBlockTableSize> blocks_{};
  std::vector<TMixBlock*> queue_;
};

}  // namespace kelvarok
