// A wait for the main window on a virtual clock: it handles what is pending
// and moves the clock on by the whole timeout instead of sleeping.
#pragma once

#include <QCoreApplication>
#include <QEventLoop>

#include "app/message_wait.h"
#include "platform/clock.h"

namespace kelvarok {

class VirtualClockWait final : public MessageWait {
 public:
  explicit VirtualClockWait(VirtualClock& clock) : clock_(clock) {}
  void WaitForMessages(std::uint32_t timeout_ms) override {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    clock_.Advance(timeout_ms);
  }

 private:
  VirtualClock& clock_;
};

}  // namespace kelvarok
