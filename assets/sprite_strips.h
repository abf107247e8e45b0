// Every picture of the sprite set by name: the name is both the SpriteSet
// member and the file name (<name>.png) of its PNG under assets/sprites/.
#pragma once

#include <array>

#include "game/sprite_set.h"

// X(name) for each picture, in the order of SpriteSet.
#define KELVAROK_SPRITE_STRIPS(X)                                                                 \
  X(background)                                                                                   \
  X(iship) X(ishield) X(ishipfire) X(ishieldfire) X(ishipmask) X(ishipfiremask) X(irockbig)       \
      X(irockbigmask) X(irockmedium) X(irockmediummask) X(irocksmall) X(igrock) X(irocksmallmask) \
          X(imissile) X(icrash1) X(icrashmask1) X(icrash2) X(icrashmask2)

namespace kelvarok {

struct SpriteStrip {
  const char* name;
  Bitmap SpriteSet::*member;
};

#define KELVAROK_SPRITE_STRIP_ENTRY(name) SpriteStrip{#name, &SpriteSet::name},
inline constexpr std::array kSpriteStrips = {KELVAROK_SPRITE_STRIPS(KELVAROK_SPRITE_STRIP_ENTRY)};
#undef KELVAROK_SPRITE_STRIP_ENTRY

}  // namespace kelvarok
