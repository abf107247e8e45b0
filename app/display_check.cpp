#include "app/display_check.h"

#include <xcb/xcb.h>

#include <QtGlobal>

namespace kelvarok {
namespace {

// The X display Qt's xcb platform would open: its -display argument, else
// DISPLAY.
QString XDisplayName(const QStringList& arguments) {
  for (const char* option : {"-display", "--display"}) {
    const auto at = arguments.indexOf(option);
    if (at >= 0 && at + 1 < arguments.size()) return arguments[at + 1];
  }
  return qEnvironmentVariable("DISPLAY");
}

bool XDisplayAnswers(const QString& name) {
  xcb_connection_t* connection = xcb_connect(name.toLocal8Bit().constData(), nullptr);
  const bool answers = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return answers;
}

}  // namespace

std::optional<std::string> MissingDisplay(const QStringList& arguments) {
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || arguments.contains("-platform") ||
      arguments.contains("--platform") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    return std::nullopt;
  const QString display = XDisplayName(arguments);
  if (display.isEmpty())
    return "kelvarok: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set)\n";
  if (!XDisplayAnswers(display))
    return "kelvarok: cannot open the X display " + display.toStdString() +
           " (is an X server running there?)\n";
  return std::nullopt;
}

}  // namespace kelvarok
