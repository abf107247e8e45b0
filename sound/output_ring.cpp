#include "sound/output_ring.h"

#include <algorithm>
#include <new>
#include <string>

#include "sound/mixer_messages.h"

namespace kelvarok {

OutputRing::OutputRing(WaveOut& wave_out, MixerMemory& memory)
    : wave_out_(wave_out), memory_(memory) {
  queue_.reserve(kBlockTableSize);
}

void OutputRing::Allocate(HWAVEOUT device, std::uint32_t block_length) {
  for (TMixBlock*& slot : blocks_) {
    void* memory = memory_.Allocate(sizeof(TMixBlock));
    if (memory == nullptr) {
      Release(0);
      throw EWaveMixError(kOutOfMemoryMessage);
    }
    slot = new (memory) TMixBlock{};
    slot->Header.lpData = reinterpret_cast<char*>(slot->Data);
    slot->Header.dwBufferLength = block_length;
  }
  for (TMixBlock* block : blocks_) {
    const MMRESULT prepared = wave_out_.waveOutPrepareHeader(device, &block->Header);
    if (prepared != MMSYSERR_NOERROR) {
      Release(device);
      throw EWaveMixError("Unable to prepare wave header #" + std::to_string(prepared));
    }
    block->Header.dwFlags.fetch_or(WHDR_DONE);
  }
}

// Blocks not (yet) prepared are only freed.
void OutputRing::Release(HWAVEOUT device) {
  for (TMixBlock*& slot : blocks_) {
    if (slot == nullptr) continue;
    if (device != 0 && (slot->Header.dwFlags.load() & WHDR_PREPARED) != 0) {
      wave_out_.waveOutUnprepareHeader(device, &slot->Header);
    }
    slot->~TMixBlock();
    memory_.Release(slot);
    slot = nullptr;
  }
}

TMixBlock* OutputRing::Claim(std::int32_t count, std::uint32_t length, TMixSession* owner) {
  for (std::int32_t i = 0; i < count; ++i) {
    TMixBlock* block = blocks_[static_cast<std::size_t>(i)];
    if (block == nullptr || !block->Free) continue;
    block->Free = false;
    block->Header.dwBufferLength = length;
    block->Header.lpData = reinterpret_cast<char*>(block->Data);
    block->Session = owner;
    return block;
  }
  return nullptr;
}

void OutputRing::Append(TMixBlock* block) {
  queue_.push_back(block);
}

void OutputRing::Remove(TMixBlock* block) {
  const auto it = std::find(queue_.begin(), queue_.end(), block);
  if (it != queue_.end()) queue_.erase(it);
}

bool OutputRing::Write(HWAVEOUT device, TMixBlock* block) {
  if (wave_out_.waveOutWrite(device, &block->Header) == MMSYSERR_NOERROR) return true;
  block->Free = true;
  Remove(block);
  return false;
}

// A refused block is lost; the blocks behind it are still written.
bool OutputRing::WriteQueued(HWAVEOUT device) {
  bool written = true;
  const std::vector<TMixBlock*> queued = queue_;
  for (TMixBlock* block : queued) written = Write(device, block) && written;
  return written;
}

// The device marks blocks done from its own thread: the search starts over
// after each one, so that a block done meanwhile is not passed over.
void OutputRing::RetireDone() {
  const auto done = [](const TMixBlock* block) {
    return (block->Header.dwFlags.load() & WHDR_DONE) != 0;
  };
  for (auto it = std::find_if(queue_.begin(), queue_.end(), done); it != queue_.end();
       it = std::find_if(queue_.begin(), queue_.end(), done)) {
    (*it)->Free = true;
    queue_.erase(it);
  }
}

void OutputRing::FreeQueued() {
  for (TMixBlock* block : queue_) block->Free = true;
  queue_.clear();
}

}  // namespace kelvarok
