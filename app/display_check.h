// Whether the desktop program has anywhere to show its window. Qt ends the
// process with a core dump when its platform finds no display; the program
// says so in one line instead.
#pragma once

#include <QStringList>

namespace kelvarok {

// True when a platform is chosen by hand (QT_QPA_PLATFORM, or -platform
// among the arguments) or a display is named (DISPLAY, WAYLAND_DISPLAY).
bool DisplayNamed(const QStringList& arguments);

// The line standard error gets when none is.
inline constexpr char kNoDisplay[] =
    "kelvarok: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set)\n";

}  // namespace kelvarok
