// The output position: where in the output stream the listener is now, from
// the device's byte counter or from the millisecond clock.
#pragma once

#include <cstdint>

#include "platform/clock.h"
#include "platform/wave_out.h"
#include "sound/mixer_types.h"

namespace kelvarok {

std::uint32_t AddPositionOffset(std::uint32_t counter, std::uint32_t offset);
std::uint32_t SubtractPositionOffset(std::uint32_t counter, std::uint32_t offset);

// The position elapsed_ms after position 0: elapsed_ms * bytes_per_sec / 1000
// rounded to nearest, halves to the even neighbour, then made even for
// blocks of two or more bytes.
std::uint32_t ClockPosition(std::uint32_t elapsed_ms, std::uint32_t bytes_per_sec,
                            std::uint16_t block_align);

// The clock value that corresponds to position 0 when position is heard now.
std::uint32_t TimeBaseFor(std::uint32_t now_ms, std::uint32_t position,
                          std::uint32_t bytes_per_sec);

// A session's output position over its device's byte counter and the clock.
class OutputClock {
 public:
  OutputClock(WaveOut& wave_out, Clock& clock) : wave_out_(wave_out), clock_(clock) {}

  // Makes position the one heard now, by both the byte counter and the clock,
  // and mixing go on from there.
  void SetPosition(TMixSession& session, std::uint32_t position);
  // The position by the device's byte counter.
  std::uint32_t DevicePosition(const TMixSession& session);
  // The position heard now, by the session's rule ("GoodWavePos").
  std::uint32_t CurrentPosition(const TMixSession& session);

 private:
  std::uint32_t ByteCounter(const TMixSession& session);

  WaveOut& wave_out_;
  Clock& clock_;
};

}  // namespace kelvarok
