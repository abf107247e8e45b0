// The X connection Qt's xcb platform holds, for the few requests Qt has no
// call for.
#pragma once

#include <xcb/xcb.h>

namespace kelvarok {

// nullptr on every platform but X (the offscreen platform answers as X too,
// without a connection).
xcb_connection_t* XcbConnection();

}  // namespace kelvarok
