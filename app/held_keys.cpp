#include "app/held_keys.h"

#include <cstdint>
#include <cstdlib>

// The extension's header names a member "explicit", a C++ keyword.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

#include "app/xcb_connection.h"

namespace kelvarok {

void AskForReleasesOnlyWhenKeysAreLetGo() {
  xcb_connection_t* connection = XcbConnection();
  if (connection == nullptr) return;
  std::free(xcb_xkb_use_extension_reply(
      connection, xcb_xkb_use_extension(connection, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION),
      nullptr));
  constexpr std::uint32_t kDetectable = XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT;
  std::free(
      xcb_xkb_per_client_flags_reply(connection,
                                     xcb_xkb_per_client_flags(connection, XCB_XKB_ID_USE_CORE_KBD,
                                                              kDetectable, kDetectable, 0, 0, 0),
                                     nullptr));
}

}  // namespace kelvarok
