// A wave output device that passes everything to another device and keeps the
// bytes that device actually plays, to be saved as a WAV file.
#pragma once

#include <filesystem>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/wave_out_forwarder.h"

namespace kelvarok {

class WaveRecorder final : public WaveOutForwarder, private WaveOutObserver {
 public:
  explicit WaveRecorder(WaveOut& device);
  ~WaveRecorder() override;
  WaveRecorder(const WaveRecorder&) = delete;
  WaveRecorder& operator=(const WaveRecorder&) = delete;

  // The first format opened is the format of the recording.
  MMRESULT waveOutOpen(HWAVEOUT* handle, std::uint32_t device_id, const WAVEFORMATEX* format,
                       HWND callback, std::uint32_t flags) override;
  void SetObserver(WaveOutObserver* observer) override;

  // Writes what was played so far as a PCM WAV file; false when nothing was
  // ever opened or the file cannot be written.
  bool Save(const std::filesystem::path& path) const;

 private:
  void Played(std::span<const std::uint8_t> bytes) override;
  void Done(const WAVEHDR& header) override;

  WaveOutObserver* observer_ = nullptr;
  mutable std::mutex mutex_;
  std::optional<WAVEFORMATEX> format_;
  std::vector<std::uint8_t> played_;
};

}  // namespace kelvarok
