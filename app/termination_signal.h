// SIGINT (Ctrl+C in the terminal), SIGHUP (the terminal closed) and SIGTERM
// (a logout, a service manager) close the main window the orderly way, close
// query and save included, instead of killing the program.
#pragma once

#include <functional>

namespace kelvarok {

// Holds the three signals back until CloseOnTermination is installed, so one
// that arrives during start-up is handled once the event loop runs. Call
// first thing in main, before any thread starts, so that every later thread
// keeps them blocked and only the UI thread receives them.
void HoldTerminationSignals();

// Installs the handler and lets held signals through; onTerminate runs on
// the UI thread, from the event loop, each time one of the signals arrives.
// Call once.
void CloseOnTermination(std::function<void()> onTerminate);

}  // namespace kelvarok
