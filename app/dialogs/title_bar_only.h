// The frame hint of the fixed windows that have no close box: under X, ask
// the window manager for a border and a title bar only, with no window menu
// and no close, minimise or maximise function.
#pragma once

class QWidget;

namespace kelvarok {

// Call once the window has its native window and before it is mapped (from
// showEvent); Qt's own hint leaves the window menu to the window manager.
// Does nothing on platforms other than X.
void AskForTitleBarOnly(QWidget& window);

}  // namespace kelvarok
