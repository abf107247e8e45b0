// The game's sprite set, decoded from the PNGs built into the program.
#pragma once

#include "game/sprite_set.h"

namespace kelvarok {

// Decodes every built-in picture; call once at start-up. The pictures are part
// of the program, so a picture that fails to decode is a build fault: it
// aborts with a message rather than giving a half-empty set.
SpriteSet LoadSprites();

}  // namespace kelvarok
