// Where the mixer's records, blocks and sample buffers come from. Hosts use
// the heap; tests use a memory that fails on request and counts what is held.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

namespace kelvarok {

class MixerMemory {
 public:
  virtual ~MixerMemory() = default;
  // Zero-filled bytes, or null when none are available.
  virtual void* Allocate(std::size_t bytes) = 0;
  virtual void Release(void* block) = 0;
};

class HeapMixerMemory final : public MixerMemory {
 public:
  void* Allocate(std::size_t bytes) override;
  void Release(void* block) override;
};

// A sample buffer that releases itself, exactly once, unless handed on.
class MixBuffer {
 public:
  MixBuffer() = default;
  MixBuffer(MixerMemory& memory, std::uint8_t* data, std::size_t size)
      : memory_(&memory), data_(data), size_(size) {}
  MixBuffer(MixBuffer&& other) noexcept { *this = std::move(other); }
  MixBuffer& operator=(MixBuffer&& other) noexcept {
    std::swap(memory_, other.memory_);
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    return *this;
  }
  ~MixBuffer() {
    if (data_ != nullptr) memory_->Release(data_);
  }

  std::uint8_t* data() const { return data_; }
  std::size_t size() const { return size_; }
  // Gives up ownership; the caller releases the bytes.
  std::uint8_t* Release() {
    size_ = 0;
    return std::exchange(data_, nullptr);
  }

 private:
  MixerMemory* memory_ = nullptr;
  std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

// A buffer of the given size; raises the out-of-memory message when none.
MixBuffer AllocateSamples(MixerMemory& memory, std::size_t bytes);

}  // namespace kelvarok
