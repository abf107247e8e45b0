// The millisecond clock (timeGetTime): unsigned 32-bit milliseconds that wrap.
#pragma once

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
