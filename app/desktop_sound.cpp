#include "app/desktop_sound.h"

#include <QApplication>
#include <QMetaObject>
#include <QTimer>
#include <cstdio>
#include <string>

#include "app/kelvarok_application.h"

namespace kelvarok {

namespace {

// A failure may be reported from inside a game frame: the box waits until
// that event has been handled.
void ShowLater(const std::string& message) {
  QTimer::singleShot(0, qApp, [message] { ShowException(message.c_str()); });
}

void Print(const std::string& message) {
  std::fprintf(stderr, "kelvarok: %s\n", message.c_str());
}

}  // namespace

DesktopSound::DesktopSound(Failures failures)
    : device_(messages_),
      ini_(DefaultProfileDirectory(),
           [](const std::string& problem) {
             std::fprintf(stderr, "kelvarok: %s\n", problem.c_str());
           }),
      mixer_({device_, messages_, ini_, clock_, memory_, {}}),
      sounds_({mixer_, device_, messages_, failures == Failures::InMessageBox ? ShowLater : Print},
              device_.waveOutGetNumDevs() > 0) {
  // The wake hook runs on SDL's audio thread: the messages are dispatched on
  // the UI thread, from its event loop.
  messages_.SetWakeHook([this] {
    QMetaObject::invokeMethod(
        qApp, [this] { sounds_.DispatchMixerMessages(); }, Qt::QueuedConnection);
  });
}

DesktopSound::~DesktopSound() {
  messages_.SetWakeHook({});
}

}  // namespace kelvarok
