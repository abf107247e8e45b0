#include "app/display_check.h"

#include <QtGlobal>

namespace kelvarok {

bool DisplayNamed(const QStringList& arguments) {
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
    if (!qEnvironmentVariableIsEmpty(name)) return true;
  return arguments.contains("-platform") || arguments.contains("--platform");
}

}  // namespace kelvarok
