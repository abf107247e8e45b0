// The per-user runtime directory ($XDG_RUNTIME_DIR), where the single-instance
// lock lives, for sessions that have none (a terminal without a desktop
// login, a container, a CI job) or one that is not the user's own.
#pragma once

#include <string>

namespace kelvarok {

// A directory private to this user (theirs, closed to others) for the lock
// and the socket: $XDG_RUNTIME_DIR when it is one; else the directory Qt
// itself falls back to, $TMPDIR (or /tmp) + "/runtime-" + user name, made
// if missing; else, when that one is someone else's, "kelvarok-runtime" in
// the user's cache directory ($XDG_CACHE_HOME or ~/.cache). Never a shared
// directory, where another user could hold or forge the lock. Empty when
// none can be had.
std::string OwnRuntimeDirectory();

// When XDG_RUNTIME_DIR is unset, names OwnRuntimeDirectory() in it, so that
// Qt no longer warns on every such run that the variable is not set. A set
// variable is left alone (a Wayland display is found through it). Call in
// main before the application object exists and before any thread starts
// (it changes the environment).
void ProvideRuntimeDirectory();

}  // namespace kelvarok
