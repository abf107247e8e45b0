#include "app/xcb_connection.h"

#include <QGuiApplication>

namespace kelvarok {

xcb_connection_t* XcbConnection() {
  if (QGuiApplication::platformName() != "xcb") return nullptr;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 ? x11->connection() : nullptr;
}

}  // namespace kelvarok
