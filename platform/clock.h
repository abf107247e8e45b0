// The millisecond clock (timeGetTime): unsigned 32-bit milliseconds that wrap.
#pragma once

#include <chrono>
#include <cstdint>

namespace kelvarok {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint32_t timeGetTime() = 0;
};

// Milliseconds of the system's steady clock since the clock object was made.
class SteadyClock final : public Clock {
 public:
  SteadyClock();
  std::uint32_t timeGetTime() override;
  // The instant at which timeGetTime() first returns reading, taken as the
  // next such instant from now (the counter wraps): a wait that must end
  // exactly as the millisecond count moves on sleeps until it.
  std::chrono::steady_clock::time_point TimeOfReading(std::uint32_t reading);

 private:
  std::int64_t origin_ns_;
};

// A clock that only moves when told to: tests and the simulator advance it.
class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(std::uint32_t start = 0) : now_(start) {}
  std::uint32_t timeGetTime() override { return now_; }
  void Advance(std::uint32_t ms) { now_ += ms; }
  void Set(std::uint32_t ms) { now_ = ms; }

 private:
  std::uint32_t now_;
};

}  // namespace kelvarok
