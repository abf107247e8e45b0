// Under X, a held key repeats as release and press pairs by default. Qt
// tells such a release from a real one only when the paired press has
// already been read from the server; a program that wakes on the release
// itself (as the game does while it waits for the keys to be let go) often
// sees a real release. The X keyboard extension can send repeats as presses
// alone, so that a release always means the key is up.
#pragma once

namespace kelvarok {

// Asks the X server for repeats without releases. Call once the application
// exists; does nothing on other platforms.
void AskForReleasesOnlyWhenKeysAreLetGo();

}  // namespace kelvarok
