// Whether the desktop program has anywhere to show its window. Qt ends the
// process with a core dump when its platform finds no display; the program
// says so in one line instead.
#pragma once

#include <QStringList>
#include <optional>
#include <string>

namespace kelvarok {

// The line standard error gets when the window has nowhere to go: no display
// named (DISPLAY, WAYLAND_DISPLAY, Qt's -display), or an X display that does
// not answer. Nothing when a platform is chosen by hand (QT_QPA_PLATFORM, or
// -platform among the arguments) or a Wayland display is named: Qt then
// chooses and reports for itself.
std::optional<std::string> MissingDisplay(const QStringList& arguments);

}  // namespace kelvarok
