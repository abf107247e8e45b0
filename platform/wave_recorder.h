// A wave output device that passes everything to another device and keeps the
// bytes that device actually plays, to be saved as a WAV file, or writes them
// to one as they come.
#pragma once

#include <filesystem>
#include <fstream>
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

  // From now on what is played goes straight to a WAV file at path instead of
  // memory, so a recording of any length takes no more memory than a short
  // one. Call before anything plays. False when the file cannot be created.
  bool StreamTo(const std::filesystem::path& path);
  // Completes the streamed file: its header gets the format and the length.
  // False when nothing was ever opened or the file could not be written.
  bool FinishStream();

 private:
  void Played(std::span<const std::uint8_t> bytes) override;
  void Done(const WAVEHDR& header) override;

  WaveOutObserver* observer_ = nullptr;
  mutable std::mutex mutex_;
  std::optional<WAVEFORMATEX> format_;
  std::vector<std::uint8_t> played_;
  std::ofstream stream_;
  std::uint64_t streamed_ = 0;  // bytes of samples in stream_
};

}  // namespace kelvarok
