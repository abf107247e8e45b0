#include "app/termination_signal.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>

namespace kelvarok {
namespace {

constexpr int kTerminationSignals[] = {SIGINT, SIGHUP, SIGTERM};

int g_signalPipe[2] = {-1, -1};

// Only async-signal-safe work here: one byte into the pipe.
void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[1], &byte, 1);
}

sigset_t TerminationSignalSet() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal : kTerminationSignals) sigaddset(&set, signal);
  return set;
}

}  // namespace

void HoldTerminationSignals() {
  const sigset_t set = TerminationSignalSet();
  ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void CloseOnTermination(std::function<void()> onTerminate) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) == 0) {
    auto* notifier =
        new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                     [onTerminate = std::move(onTerminate)] {
                       char byte = 0;
                       [[maybe_unused]] const ssize_t got = ::read(g_signalPipe[0], &byte, 1);
                       onTerminate();
                     });
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kTerminationSignals) ::sigaction(signal, &action, nullptr);
  }
  // Without the pipe the signals keep their default action: they end the
  // program, as they would have without this handler.
  const sigset_t set = TerminationSignalSet();
  ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

}  // namespace kelvarok
