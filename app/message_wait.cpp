#include "app/message_wait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace kelvarok {

void EventLoopWait::WaitForMessages(std::uint32_t timeout_ms) {
  // The timer is the deadline: its event ends the wait if nothing else does,
  // and the thread sleeps in the event dispatcher until then.
  QTimer deadline;
  deadline.setSingleShot(true);
  deadline.setTimerType(Qt::PreciseTimer);
  deadline.start(static_cast<int>(timeout_ms));
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

}  // namespace kelvarok
