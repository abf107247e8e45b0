// The application object. Its general exception handler shows any exception
// that escapes an event handler in a message box, and the program goes on.
#pragma once

#include <QApplication>

namespace kelvarok {

class KelvarokApplication final : public QApplication {
 public:
  KelvarokApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

// Shows the message of an exception that nothing else handled.
void ShowException(const char* message);

}  // namespace kelvarok
