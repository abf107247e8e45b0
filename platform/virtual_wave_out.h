// A wave output device on a virtual clock, for tests and the renderer.
//
// Timing is exact: while the device is open, not paused and has blocks queued,
// every millisecond of the clock plays the bytes that bring the total to
// floor(t * nAvgBytesPerSec / 1000), t counting the milliseconds played
// without a break. A pause, an empty queue or a reset starts that count again
// from 0, so a block written at millisecond w starts sounding in w + 1. The
// byte counter (waveOutGetPosition) is the number of bytes played since open
// or the last reset. A block played to its end is marked done and its
// MM_WOM_DONE posted in the millisecond its last byte was played.
#pragma once

#include <string>

#include "platform/clock.h"
#include "platform/queued_wave_out.h"

namespace kelvarok {

struct VirtualDeviceSetup {
  std::uint32_t device_count = 1;
  std::string name = "Virtual Wave Out";
  std::uint16_t channels = 2;
  std::uint32_t support = WAVECAPS_VOLUME | WAVECAPS_LRVOLUME;
};

class VirtualWaveOut : public QueuedWaveOut {
 public:
  VirtualWaveOut(WindowMessages& messages, Clock& clock, VirtualDeviceSetup setup = {});

  std::uint32_t waveOutGetNumDevs() override { return setup_.device_count; }
  MMRESULT waveOutGetDevCapsA(std::uint32_t device_id, WAVEOUTCAPS* caps) override;
  MMRESULT waveOutReset(HWAVEOUT handle) override;

  // Plays what the milliseconds since the last call have played. The host
  // calls it after advancing the clock.
  void Poll();

 protected:
  MMRESULT OpenDevice(std::uint32_t device_id, const WAVEFORMATEX& format) override;
  void CloseDevice() override {}

 private:
  void PlayOneMillisecond();

  Clock& clock_;
  VirtualDeviceSetup setup_;
  std::uint32_t polled_at_;
  std::uint32_t credit_ = 0;  // thousandths of a byte owed to the stream
  std::vector<std::uint8_t> scratch_;
};

}  // namespace kelvarok
