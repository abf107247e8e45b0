#include "app/kelvarok_application.h"

#include <QDirIterator>
#include <QIcon>
#include <QMessageBox>
#include <exception>

#include "app/held_keys.h"
#include "kelvarok_version.h"

namespace kelvarok {
namespace {

// The icon theme's "kelvarok" once the program is installed; else, as in a
// run from the build tree, the icons built into the program.
QIcon GameIcon() {
  QIcon builtIn;
  for (QDirIterator icons(":/icons"); icons.hasNext();) builtIn.addFile(icons.next());
  return QIcon::fromTheme("kelvarok", builtIn);
}

}  // namespace

KelvarokApplication::KelvarokApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName("Kelvarok");
  setOrganizationName("Ombrix");
  setApplicationVersion(kProgramVersion);
  setDesktopFileName("com.ombrix.Kelvarok");
  setWindowIcon(GameIcon());
  AskForReleasesOnlyWhenKeysAreLetGo();
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
