// The pictures the field is drawn from: the background and every sprite and
// mask strip, each frame of a strip side by side at its frame width.
#pragma once

#include "platform/bitmap.h"

namespace kelvarok {

struct SpriteSet {
  Bitmap background;     // 750 x 450, black with small white stars
  Bitmap iship;          // 972 x 27: 36 headings of 27 x 27, counter-clockwise from right
  Bitmap ishield;        // the same with the green shield ring
  Bitmap ishipfire;      // the ship with its thrust flame
  Bitmap ishieldfire;    // the shielded ship with its thrust flame
  Bitmap ishipmask;      // mask of iship; ishield paints its ring beyond it
  Bitmap ishipfiremask;  // mask of ishipfire, likewise for ishieldfire
  Bitmap irockbig;       // 696 x 29: 24 turns of 29 x 29
  Bitmap irockbigmask;
  Bitmap irockmedium;  // 504 x 21: 24 turns of 21 x 21
  Bitmap irockmediummask;
  Bitmap irocksmall;      // 312 x 13: 24 turns of 13 x 13
  Bitmap igrock;          // the small hard rock, in greens
  Bitmap irocksmallmask;  // mask of irocksmall and igrock
  Bitmap imissile;        // 3 x 3, solid yellow, copied whole
  Bitmap icrash1;         // 486 x 27: 18 turns of the ship's head
  Bitmap icrashmask1;
  Bitmap icrash2;  // 486 x 27: 18 turns of the fuselage
  Bitmap icrashmask2;
};

}  // namespace kelvarok
