#include "platform/virtual_wave_out.h"

#include <algorithm>

namespace kelvarok {

VirtualWaveOut::VirtualWaveOut(WindowMessages& messages, Clock& clock, VirtualDeviceSetup setup)
    : QueuedWaveOut(messages),
      clock_(clock),
      setup_(std::move(setup)),
      polled_at_(clock.timeGetTime()) {}

MMRESULT VirtualWaveOut::waveOutGetDevCapsA(std::uint32_t device_id, WAVEOUTCAPS* caps) {
  if (caps == nullptr) return MMSYSERR_INVALPARAM;
  if (!ValidDevice(device_id)) return MMSYSERR_BADDEVICEID;
  *caps = WAVEOUTCAPS{};
  const std::size_t length = std::min(setup_.name.size(), sizeof caps->szPname - 1);
  std::copy_n(setup_.name.begin(), length, caps->szPname);
  caps->wChannels = setup_.channels;
  caps->dwSupport = setup_.support;
  return MMSYSERR_NOERROR;
}

MMRESULT VirtualWaveOut::OpenDevice(std::uint32_t, const WAVEFORMATEX&) {
  credit_ = 0;
  polled_at_ = clock_.timeGetTime();
  return MMSYSERR_NOERROR;
}

MMRESULT VirtualWaveOut::waveOutReset(HWAVEOUT handle) {
  credit_ = 0;
  return QueuedWaveOut::waveOutReset(handle);
}

void VirtualWaveOut::Poll() {
  const std::uint32_t now = clock_.timeGetTime();
  while (polled_at_ != now) {
    ++polled_at_;
    PlayOneMillisecond();
  }
}

void VirtualWaveOut::PlayOneMillisecond() {
  if (!Playing()) {
    credit_ = 0;
    return;
  }
  credit_ += Format().nAvgBytesPerSec;
  const std::size_t due = credit_ / 1000;
  credit_ %= 1000;
  scratch_.resize(due);
  Consume(scratch_);
  if (!Playing()) credit_ = 0;
}

}  // namespace kelvarok
