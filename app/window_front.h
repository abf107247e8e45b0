// Brings a top-level window in front of the player: shown, restored when it
// was minimised, raised and given the focus.
#pragma once

class QWidget;

namespace kelvarok {

void ShowInFront(QWidget& window);

}  // namespace kelvarok
