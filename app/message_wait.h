// How the main window waits for its next message: the game flow's waits
// between frames and while paused go through it.
#pragma once

#include <cstdint>

namespace kelvarok {

class MessageWait {
 public:
  virtual ~MessageWait() = default;
  // Handles pending messages; if there were none, waits until one arrives or
  // timeout_ms milliseconds have passed, handles what arrived and returns.
  virtual void WaitForMessages(std::uint32_t timeout_ms) = 0;
};

// Sleeps in Qt's event dispatcher, with a precise timer as the deadline.
class EventLoopWait final : public MessageWait {
 public:
  void WaitForMessages(std::uint32_t timeout_ms) override;
};

}  // namespace kelvarok
