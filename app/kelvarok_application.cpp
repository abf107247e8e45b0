#include "app/kelvarok_application.h"

#include <QIcon>
#include <QMessageBox>
#include <exception>

namespace kelvarok {

KelvarokApplication::KelvarokApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName("Kelvarok");
  setOrganizationName("Ombrix");
  setApplicationVersion("2.10");
  setDesktopFileName("com.ombrix.Kelvarok");
  setWindowIcon(QIcon::fromTheme("kelvarok"));
}

void ShowException(const char* message) {
  QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(),
                        QString::fromLocal8Bit(message));
}

bool KelvarokApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    ShowException(e.what());
    return true;
  }
}

}  // namespace kelvarok
