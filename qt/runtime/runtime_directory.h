// The per-user runtime directory ($XDG_RUNTIME_DIR), where the single-instance
// lock lives, for sessions that have none (a terminal without a desktop
// login, a container, a CI job).
#pragma once

namespace kelvarok {

// When XDG_RUNTIME_DIR is unset, makes the directory Qt itself would fall back
// to, $TMPDIR (or /tmp) + "/runtime-" + user name, with mode 0700, and names
// it in XDG_RUNTIME_DIR. The lock file stays where Qt would put it, and Qt no
// longer warns on every such run that the variable is not set. A directory
// that exists but is not the user's own or not private is left alone, so
// that Qt's own checks report it. Call in main before the application object
// exists and before any thread starts (it changes the environment).
void ProvideRuntimeDirectory();

}  // namespace kelvarok
