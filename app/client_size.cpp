#include "app/client_size.h"

#include <QWidget>
#include <array>
#include <cstdint>

#include "app/xcb_connection.h"

namespace kelvarok {

void ResizeInPlace(QWidget& window, QSize client) {
  xcb_connection_t* connection = XcbConnection();
  if (connection == nullptr) {
    window.resize(client);
    return;
  }
  const std::array<std::uint32_t, 2> size{static_cast<std::uint32_t>(client.width()),
                                          static_cast<std::uint32_t>(client.height())};
  xcb_configure_window(connection, static_cast<xcb_window_t>(window.winId()),
                       XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size.data());
  xcb_flush(connection);
}

}  // namespace kelvarok
