#include "sim/mix/device_log.h"

#include "sound/mixer_types.h"

namespace kelvarok {

DeviceLog::DeviceLog(WaveOut& inner, Clock& clock, std::ostream* log, std::ostream* played)
    : WaveOutForwarder(inner), clock_(clock), log_(log), played_(played) {
  device().SetObserver(this);
}

DeviceLog::~DeviceLog() {
  device().SetObserver(nullptr);
}

void DeviceLog::Line(const std::string& text) {
  std::lock_guard lock(mutex_);
  if (log_ != nullptr) *log_ << clock_.timeGetTime() << ' ' << text << '\n';
}

MMRESULT DeviceLog::Logged(MMRESULT result, const std::string& operation) {
  if (result == MMSYSERR_NOERROR) Line(operation);
  return result;
}

MMRESULT DeviceLog::waveOutOpen(HWAVEOUT* handle, std::uint32_t device_id,
                                const WAVEFORMATEX* format, HWND callback, std::uint32_t flags) {
  const MMRESULT result = device().waveOutOpen(handle, device_id, format, callback, flags);
  return (flags & WAVE_FORMAT_QUERY) != 0 ? result : Logged(result, "open");
}

// The block start is remembered at writing: a remix may have mixed the block
// anew by the time the device reports it done.
MMRESULT DeviceLog::waveOutWrite(HWAVEOUT h, WAVEHDR* header) {
  const std::uint32_t start = BlockStartOf(*header);
  {
    std::lock_guard lock(mutex_);
    written_starts_[header] = start;
  }
  return Logged(device().waveOutWrite(h, header),
                "write " + std::to_string(start) + " " + std::to_string(header->dwBufferLength));
}

MMRESULT DeviceLog::waveOutReset(HWAVEOUT h) {
  Line("reset");
  return device().waveOutReset(h);
}

MMRESULT DeviceLog::waveOutPause(HWAVEOUT h) {
  return Logged(device().waveOutPause(h), "pause");
}

MMRESULT DeviceLog::waveOutRestart(HWAVEOUT h) {
  return Logged(device().waveOutRestart(h), "restart");
}

MMRESULT DeviceLog::waveOutClose(HWAVEOUT h) {
  return Logged(device().waveOutClose(h), "close");
}

void DeviceLog::Played(std::span<const std::uint8_t> bytes) {
  std::lock_guard lock(mutex_);
  if (played_ != nullptr)
    played_->write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
}

void DeviceLog::Done(const WAVEHDR& header) {
  std::uint32_t start = 0;
  {
    std::lock_guard lock(mutex_);
    start = written_starts_[&header];
  }
  Line("done " + std::to_string(start));
}

}  // namespace kelvarok
