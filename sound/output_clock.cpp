#include "sound/output_clock.h"

namespace kelvarok {

std::uint32_t AddPositionOffset(std::uint32_t counter, std::uint32_t offset) {
  return counter + offset;
}

std::uint32_t SubtractPositionOffset(std::uint32_t counter, std::uint32_t offset) {
  return counter - offset;
}

// Computed in 64 bits: 32-bit products would wrap after about 6.5 minutes of
// output at 11025 bytes per second.
std::uint32_t ClockPosition(std::uint32_t elapsed_ms, std::uint32_t bytes_per_sec,
                            std::uint16_t block_align) {
  const std::uint64_t scaled = std::uint64_t{elapsed_ms} * bytes_per_sec;
  std::uint64_t position = scaled / 1000;
  const std::uint64_t remainder = scaled % 1000;
  if (remainder > 500 || (remainder == 500 && position % 2 == 1)) ++position;
  if (block_align >= 2 && position % 2 == 1) --position;
  return static_cast<std::uint32_t>(position);
}

std::uint32_t TimeBaseFor(std::uint32_t now_ms, std::uint32_t position,
                          std::uint32_t bytes_per_sec) {
  return now_ms - static_cast<std::uint32_t>(std::uint64_t{position} * 1000 / bytes_per_sec);
}

// The device's byte counter; 0 while no device is open.
std::uint32_t OutputClock::ByteCounter(const TMixSession& session) {
  MMTIME time;
  if (session.WaveOut == 0 ||
      wave_out_.waveOutGetPosition(session.WaveOut, &time) != MMSYSERR_NOERROR) {
    return 0;
  }
  return time.cb;
}

void OutputClock::SetPosition(TMixSession& session, std::uint32_t position) {
  const std::uint32_t counter = ByteCounter(session);
  if (position > counter) {
    session.PositionOffset = position - counter;
    session.OffsetRoutine = &AddPositionOffset;
  } else {
    session.PositionOffset = counter - position;
    session.OffsetRoutine = &SubtractPositionOffset;
  }
  session.TimeBase = TimeBaseFor(clock_.timeGetTime(), position, session.Format.nAvgBytesPerSec);
  session.MixPosition = position;
}

std::uint32_t OutputClock::DevicePosition(const TMixSession& session) {
  return session.OffsetRoutine(ByteCounter(session), session.PositionOffset);
}

std::uint32_t OutputClock::CurrentPosition(const TMixSession& session) {
  if (session.GoodWavePos == 1) return DevicePosition(session);
  return ClockPosition(clock_.timeGetTime() - session.TimeBase, session.Format.nAvgBytesPerSec,
                       session.Format.nBlockAlign);
}

}  // namespace kelvarok
