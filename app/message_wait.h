// How the main window waits for its next message: the game flow's waits
// between frames and while paused go through it.
#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace kelvarok {

class MessageWait {
 public:
  virtual ~MessageWait() = default;
  // Handles pending messages; if there were none, waits until one arrives or
  // timeout_ms milliseconds have passed, handles what arrived and returns.
  virtual void WaitForMessages(std::uint32_t timeout_ms) = 0;
};

// Sleeps in Qt's event dispatcher until the clock's millisecond count has
// moved on by timeout_ms, so a frame paced on that clock ends as its count
// ticks over, not up to a millisecond later.
class EventLoopWait final : public MessageWait {
 public:
  explicit EventLoopWait(SteadyClock& clock) : clock_(clock) {}
  void WaitForMessages(std::uint32_t timeout_ms) override;

 private:
  SteadyClock& clock_;
};

}  // namespace kelvarok
