// Gives a top-level window a new client size and leaves its place to the
// window manager.
#pragma once

#include <QSize>

class QWidget;

namespace kelvarok {

// Under X only the size is asked for: right after a change of window state
// Qt's idea of the window's position is the old state's (a maximised
// window's top left corner), and its resize would ask for that position
// too. Elsewhere Qt's resize.
void ResizeInPlace(QWidget& window, QSize client);

}  // namespace kelvarok
