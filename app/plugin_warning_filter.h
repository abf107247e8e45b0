// Keeps one harmless Qt warning off standard error.
#pragma once

namespace kelvarok {

// Installs a Qt message handler that drops "This plugin does not support
// propagateSizeHints()", which platform plugins without a window manager
// (offscreen, minimal) print for every fixed-size dialog: there is nobody to
// pass the size hints to, so nothing is lost. Every other message goes to
// the handler that was installed before. Call once, before the application
// object exists.
void FilterPluginWarnings();

}  // namespace kelvarok
