// A wave output device that passes everything to another device and keeps the
// bytes that device actually plays, to be saved as a WAV file.
#pragma once

#include <filesystem>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/wave_out.h"

namespace kelvarok {

class WaveRecorder final : public WaveOut, private WaveOutObserver {
 public:
  explicit WaveRecorder(WaveOut& device);
  ~WaveRecorder() override;
  WaveRecorder(const WaveRecorder&) = delete;
  WaveRecorder& operator=(const WaveRecorder&) = delete;

  std::uint32_t waveOutGetNumDevs() override { return device_.waveOutGetNumDevs(); }
  MMRESULT waveOutGetDevCapsA(std::uint32_t id, WAVEOUTCAPS* caps) override {
    return device_.waveOutGetDevCapsA(id, caps);
  }
  // The first format opened is the format of the recording.
  MMRESULT waveOutOpen(HWAVEOUT* handle, std::uint32_t device_id, const WAVEFORMATEX* format,
                       HWND callback, std::uint32_t flags) override;
  MMRESULT waveOutPrepareHeader(HWAVEOUT h, WAVEHDR* header) override {
    return device_.waveOutPrepareHeader(h, header);
  }
  MMRESULT waveOutUnprepareHeader(HWAVEOUT h, WAVEHDR* header) override {
    return device_.waveOutUnprepareHeader(h, header);
  }
  MMRESULT waveOutWrite(HWAVEOUT h, WAVEHDR* header) override {
    return device_.waveOutWrite(h, header);
  }
  MMRESULT waveOutReset(HWAVEOUT h) override { return device_.waveOutReset(h); }
  MMRESULT waveOutPause(HWAVEOUT h) override { return device_.waveOutPause(h); }
  MMRESULT waveOutRestart(HWAVEOUT h) override { return device_.waveOutRestart(h); }
  MMRESULT waveOutGetPosition(HWAVEOUT h, MMTIME* time) override {
    return device_.waveOutGetPosition(h, time);
  }
  MMRESULT waveOutClose(HWAVEOUT h) override { return device_.waveOutClose(h); }
  MMRESULT waveOutGetVolume(HWAVEOUT h, std::uint32_t* volume) override {
    return device_.waveOutGetVolume(h, volume);
  }
  MMRESULT waveOutSetVolume(HWAVEOUT h, std::uint32_t volume) override {
    return device_.waveOutSetVolume(h, volume);
  }
  void SetObserver(WaveOutObserver* observer) override;

  // Writes what was played so far as a PCM WAV file; false when nothing was
  // ever opened or the file cannot be written.
  bool Save(const std::filesystem::path& path) const;

 private:
  void Played(std::span<const std::uint8_t> bytes) override;
  void Done(const WAVEHDR& header) override;

  WaveOut& device_;
  WaveOutObserver* observer_ = nullptr;
  mutable std::mutex mutex_;
  std::optional<WAVEFORMATEX> format_;
  std::vector<std::uint8_t> played_;
};

}  // namespace kelvarok
