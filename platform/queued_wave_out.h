// The part of a wave output device shared by the virtual and the SDL device:
// written blocks are copied into a queue, played from it in order, marked done
// and reported to the callback window. A subclass says which devices exist,
// opens the real output and calls Consume wherever output is produced.
#pragma once

#include <deque>
#include <mutex>
#include <vector>

#include "platform/wave_out.h"

namespace kelvarok {

class QueuedWaveOut : public WaveOut {
 public:
  explicit QueuedWaveOut(WindowMessages& messages) : messages_(messages) {}

  MMRESULT waveOutOpen(HWAVEOUT* handle, std::uint32_t device_id, const WAVEFORMATEX* format,
                       HWND callback, std::uint32_t flags) override;
  MMRESULT waveOutPrepareHeader(HWAVEOUT handle, WAVEHDR* header) override;
  MMRESULT waveOutUnprepareHeader(HWAVEOUT handle, WAVEHDR* header) override;
  MMRESULT waveOutWrite(HWAVEOUT handle, WAVEHDR* header) override;
  MMRESULT waveOutReset(HWAVEOUT handle) override;
  MMRESULT waveOutPause(HWAVEOUT handle) override;
  MMRESULT waveOutRestart(HWAVEOUT handle) override;
  MMRESULT waveOutGetPosition(HWAVEOUT handle, MMTIME* time) override;
  MMRESULT waveOutClose(HWAVEOUT handle) override;
  MMRESULT waveOutGetVolume(HWAVEOUT handle, std::uint32_t* volume) override;
  MMRESULT waveOutSetVolume(HWAVEOUT handle, std::uint32_t volume) override;
  void SetObserver(WaveOutObserver* observer) override;

  // Underruns since the device was made: times the queue ran dry while the
  // sound was not at rest (its last frame played was not silence) and the
  // device was not paused, i.e. gaps a listener hears. A queue that runs out
  // after silence, as every mixed sound ends, is no underrun.
  std::uint32_t Underruns();

 protected:
  // 8-bit or 16-bit PCM, one or two channels, a rate above 0.
  static bool CanPlay(const WAVEFORMATEX& format);
  bool ValidDevice(std::uint32_t device_id) {
    return device_id == WAVE_MAPPER || device_id < waveOutGetNumDevs();
  }

  // Opens the real output for the format; the queue is ready and empty.
  virtual MMRESULT OpenDevice(std::uint32_t device_id, const WAVEFORMATEX& format) = 0;
  virtual void CloseDevice() = 0;
  // Guards the queue against the thread that consumes it.
  virtual void Lock() {}
  virtual void Unlock() {}
  // With the lock held, as a reset begins: the byte counter still holds what
  // was played since the open or the last reset.
  virtual void Resetting() {}

  // With the lock held: plays up to out.size() bytes of the queue into out
  // (after volume) and returns how many. Blocks played to their end are marked
  // done and reported. Nothing is played while paused.
  std::size_t Consume(std::span<std::uint8_t> out);
  // With the lock held: open, not paused and something queued.
  bool Playing() const { return handle_ != 0 && !paused_ && !queue_.empty(); }
  const WAVEFORMATEX& Format() const { return format_; }
  // With the lock held: bytes played since the open or the last reset.
  std::uint32_t PlayedBytes() const { return played_bytes_; }
  // The byte that fills silence in the open format: 0x80 for 8-bit, 0 for 16-bit.
  std::uint8_t SilenceByte() const { return format_.wBitsPerSample == 8 ? 0x80 : 0x00; }

 private:
  struct Queued {
    WAVEHDR* header;
    std::vector<std::uint8_t> bytes;
    std::size_t played;
  };
  class Guard;

  bool IsHandle(HWAVEOUT handle) const { return handle != 0 && handle == handle_; }
  void FinishFront();
  void ApplyVolume(std::span<std::uint8_t> bytes, std::uint64_t first_byte) const;
  void CountUnderrun(std::span<const std::uint8_t> taken, std::size_t wanted);

  WindowMessages& messages_;
  WaveOutObserver* observer_ = nullptr;
  HWAVEOUT handle_ = 0;
  HWAVEOUT last_handle_ = 0;
  HWND callback_ = 0;
  WAVEFORMATEX format_;
  std::deque<Queued> queue_;
  std::vector<std::vector<std::uint8_t>> spare_buffers_;
  bool paused_ = false;
  std::uint32_t played_bytes_ = 0;
  bool at_rest_ = true;
  std::uint32_t underruns_ = 0;
  std::atomic<std::uint32_t> volume_{0xFFFFFFFF};
};

}  // namespace kelvarok
