// A virtual wave device that, like a sound card, produces silence whenever it
// has nothing to play (nothing queued, paused, or closed while the program is
// in the background). What it plays from its first opening on is therefore
// exactly as long as the virtual time that passed.
#pragma once

#include <optional>
#include <vector>

#include "platform/virtual_wave_out.h"
#include "platform/wave_out_forwarder.h"

namespace kelvarok::sim {

class ContinuousWaveOut final : public WaveOutForwarder, private WaveOutObserver {
 public:
  ContinuousWaveOut(VirtualWaveOut& device, Clock& clock);
  ~ContinuousWaveOut() override;
  ContinuousWaveOut(const ContinuousWaveOut&) = delete;
  ContinuousWaveOut& operator=(const ContinuousWaveOut&) = delete;

  // The first format opened is the stream's format, its opening its start.
  MMRESULT waveOutOpen(HWAVEOUT* handle, std::uint32_t device_id, const WAVEFORMATEX* format,
                       HWND callback, std::uint32_t flags) override;
  void SetObserver(WaveOutObserver* observer) override { observer_ = observer; }

  // Polls the device, then plays silence for whatever part of the time up to
  // now it left unplayed.
  void Poll();

 private:
  void Played(std::span<const std::uint8_t> bytes) override;
  void Done(const WAVEHDR& header) override;

  VirtualWaveOut& device_;
  Clock& clock_;
  WaveOutObserver* observer_ = nullptr;
  std::optional<WAVEFORMATEX> format_;
  std::uint32_t started_at_ = 0;
  std::uint64_t produced_ = 0;
  std::vector<std::uint8_t> silence_;
};

}  // namespace kelvarok::sim
