// The whole sprite set, drawn: the background, every strip and every mask.
#pragma once

#include "game/sprite_set.h"

namespace kelvarok::art {

SpriteSet DrawSprites();

// The mask of a sprite strip: white where the sprite is black (the background
// shows through), black over the sprite.
Bitmap MaskOf(const Bitmap& sprite);

}  // namespace kelvarok::art
