#include "sim/continuous_wave_out.h"

namespace kelvarok::sim {

ContinuousWaveOut::ContinuousWaveOut(VirtualWaveOut& device, Clock& clock)
    : WaveOutForwarder(device), device_(device), clock_(clock) {
  device_.SetObserver(this);
}

ContinuousWaveOut::~ContinuousWaveOut() {
  device_.SetObserver(nullptr);
}

MMRESULT ContinuousWaveOut::waveOutOpen(HWAVEOUT* handle, std::uint32_t device_id,
                                        const WAVEFORMATEX* format, HWND callback,
                                        std::uint32_t flags) {
  const MMRESULT result = device_.waveOutOpen(handle, device_id, format, callback, flags);
  if (result == MMSYSERR_NOERROR && (flags & WAVE_FORMAT_QUERY) == 0 && !format_) {
    format_ = *format;
    started_at_ = clock_.timeGetTime();
  }
  return result;
}

void ContinuousWaveOut::Poll() {
  device_.Poll();
  if (!format_) return;
  const std::uint64_t elapsed = clock_.timeGetTime() - started_at_;
  std::uint64_t due = elapsed * format_->nAvgBytesPerSec / 1000;
  due -= due % format_->nBlockAlign;
  if (produced_ >= due) return;
  const std::uint8_t level = format_->wBitsPerSample == 8 ? 0x80 : 0x00;
  silence_.assign(due - produced_, level);
  Played(silence_);
}

void ContinuousWaveOut::Played(std::span<const std::uint8_t> bytes) {
  produced_ += bytes.size();
  if (observer_ != nullptr) observer_->Played(bytes);
}

void ContinuousWaveOut::Done(const WAVEHDR& header) {
  if (observer_ != nullptr) observer_->Done(header);
}

}  // namespace kelvarok::sim
