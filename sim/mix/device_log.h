// Watches the device of a render: logs each operation as a line "MS op ..."
// (open, write BLOCKSTART LEN, done BLOCKSTART, reset, pause, restart,
// close, error MESSAGE) and passes on the bytes the device actually played.
#pragma once

#include <map>
#include <mutex>
#include <ostream>
#include <string>

#include "platform/clock.h"
#include "platform/wave_out_forwarder.h"

namespace kelvarok {

class DeviceLog final : public WaveOutForwarder, private WaveOutObserver {
 public:
  // log and played may be null: then no lines are written, and the played
  // bytes go nowhere. Neither is kept in memory, however long the render.
  DeviceLog(WaveOut& device, Clock& clock, std::ostream* log, std::ostream* played = nullptr);
  ~DeviceLog() override;
  DeviceLog(const DeviceLog&) = delete;
  DeviceLog& operator=(const DeviceLog&) = delete;

  MMRESULT waveOutOpen(HWAVEOUT* handle, std::uint32_t device_id, const WAVEFORMATEX* format,
                       HWND callback, std::uint32_t flags) override;
  MMRESULT waveOutWrite(HWAVEOUT h, WAVEHDR* header) override;
  MMRESULT waveOutReset(HWAVEOUT h) override;
  MMRESULT waveOutPause(HWAVEOUT h) override;
  MMRESULT waveOutRestart(HWAVEOUT h) override;
  MMRESULT waveOutClose(HWAVEOUT h) override;

  void Error(const std::string& message) { Line("error " + message); }

 private:
  void Played(std::span<const std::uint8_t> bytes) override;
  void Done(const WAVEHDR& header) override;
  MMRESULT Logged(MMRESULT result, const std::string& operation);
  void Line(const std::string& text);

  Clock& clock_;
  std::ostream* log_;
  std::ostream* played_;
  std::mutex mutex_;
  std::map<const WAVEHDR*, std::uint32_t> written_starts_;
};

}  // namespace kelvarok
