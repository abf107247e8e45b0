// SIGTERM (the desktop session ending) closes the main window the orderly
// way, close query and save included.
#pragma once

#include <functional>

namespace kelvarok {

// Installs the handler; onTerminate runs on the UI thread, from the event
// loop, each time the signal arrives. Call once.
void CloseOnTermination(std::function<void()> onTerminate);

}  // namespace kelvarok
