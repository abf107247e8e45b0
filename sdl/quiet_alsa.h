// ALSA's library prints every failed probe of a missing card on standard
// error, line after line, when SDL tries it on a machine without sound. The
// program says "no sound" once in its own words; these calls keep ALSA quiet.
#pragma once

namespace kelvarok {

// Gives ALSA's library, when the system has it, an error handler that prints
// nothing. Call before SDL initialises its audio; the library stays loaded,
// so that SDL's own load of it keeps the handler.
void QuietAlsaErrors();

}  // namespace kelvarok
