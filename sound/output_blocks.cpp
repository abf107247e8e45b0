// The six output blocks and the device queue of blocks written to the device.
#include <new>
#include <string>

#include "sound/mixer_messages.h"
#include "sound/mixer_module.h"

namespace kelvarok {

void MixerModule::AllocateBlocks(HWAVEOUT device, std::uint32_t block_length) {
  for (TMixBlock*& slot : blocks_) {
    void* memory = services_.memory.Allocate(sizeof(TMixBlock));
    if (memory == nullptr) {
      ReleaseBlocks(0);
      throw EWaveMixError(kOutOfMemoryMessage);
    }
    slot = new (memory) TMixBlock{};
    slot->Header.lpData = reinterpret_cast<char*>(slot->Data);
    slot->Header.dwBufferLength = block_length;
  }
  for (TMixBlock* block : blocks_) {
    const MMRESULT prepared = services_.wave_out.waveOutPrepareHeader(device, &block->Header);
    if (prepared != MMSYSERR_NOERROR) {
      ReleaseBlocks(device);
      throw EWaveMixError("Unable to prepare wave header #" + std::to_string(prepared));
    }
    block->Header.dwFlags.fetch_or(WHDR_DONE);
  }
}

// Blocks not (yet) prepared are only freed.
void MixerModule::ReleaseBlocks(HWAVEOUT device) {
  for (TMixBlock*& slot : blocks_) {
    if (slot == nullptr) continue;
    if (device != 0 && (slot->Header.dwFlags.load() & WHDR_PREPARED) != 0) {
      services_.wave_out.waveOutUnprepareHeader(device, &slot->Header);
    }
    slot->~TMixBlock();
    services_.memory.Release(slot);
    slot = nullptr;
  }
}

TMixBlock* MixerModule::ClaimBlock(TMixSession& session) {
  for (int i = 0; i < session.BlockCount; ++i) {
    TMixBlock* block = blocks_[static_cast<std::size_t>(i)];
    if (block == nullptr || !block->Free) continue;
    block->Free = false;
    block->Header.dwBufferLength = session.BlockLength;
    block->Header.lpData = reinterpret_cast<char*>(block->Data);
    block->Session = active_;
    return block;
  }
  return nullptr;
}

void MixerModule::AppendToQueue(TMixBlock* block) {
  block->Next = nullptr;
  if (queue_tail_ != nullptr) {
    queue_tail_->Next = block;
  } else {
    queue_head_ = block;
  }
  queue_tail_ = block;
}

void MixerModule::RemoveFromQueue(TMixBlock* block) {
  TMixBlock* previous = nullptr;
  for (TMixBlock* it = queue_head_; it != nullptr; previous = it, it = it->Next) {
    if (it != block) continue;
    (previous != nullptr ? previous->Next : queue_head_) = it->Next;
    if (queue_tail_ == it) queue_tail_ = previous;
    it->Next = nullptr;
    return;
  }
}

void MixerModule::FreeQueuedBlocks() {
  for (TMixBlock* it = queue_head_; it != nullptr;) {
    TMixBlock* next = it->Next;
    it->Free = true;
    it->Next = nullptr;
    it = next;
  }
  queue_head_ = nullptr;
  queue_tail_ = nullptr;
}

bool MixerModule::WriteBlock(TMixSession& session, TMixBlock* block) {
  if (services_.wave_out.waveOutWrite(session.WaveOut, &block->Header) == MMSYSERR_NOERROR) {
    return true;
  }
  block->Free = true;
  RemoveFromQueue(block);
  return false;
}

std::vector<const TMixBlock*> MixerModule::DeviceQueue() const {
  std::vector<const TMixBlock*> queue;
  for (const TMixBlock* it = queue_head_; it != nullptr; it = it->Next) queue.push_back(it);
  return queue;
}

}  // namespace kelvarok
