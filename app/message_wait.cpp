#include "app/message_wait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <thread>

namespace kelvarok {

void EventLoopWait::WaitForMessages(std::uint32_t timeout_ms) {
  const auto deadline = clock_.TimeOfReading(clock_.timeGetTime() + timeout_ms);
  const auto wholeMs = std::chrono::duration_cast<std::chrono::milliseconds>(
      deadline - std::chrono::steady_clock::now());
  if (wholeMs.count() < 1) {
    // Qt's timers count whole milliseconds: the last fraction of one is
    // slept out after the pending messages are handled.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    std::this_thread::sleep_until(deadline);
    return;
  }
  // The timer, set short of the deadline by the fraction, ends the wait if
  // nothing else does, and the thread sleeps in the event dispatcher until
  // then; the caller asks again for the rest.
  QTimer timer;
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);
  timer.start(static_cast<int>(wholeMs.count()));
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

}  // namespace kelvarok
