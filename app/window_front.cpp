#include "app/window_front.h"

#include <QWidget>

namespace kelvarok {

void ShowInFront(QWidget& window) {
  // show() alone leaves a minimised window minimised.
  if (window.isMinimized()) window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
  window.show();
  window.raise();
  window.activateWindow();
}

}  // namespace kelvarok
