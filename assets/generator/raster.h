// Turns a picture, given as what it shows at each point, into smooth pixels by
// averaging many sample points per pixel.
#pragma once

#include <functional>
#include <optional>

#include "assets/generator/colour.h"
#include "assets/generator/geometry.h"
#include "platform/bitmap.h"

namespace kelvarok::art {

// What a picture shows at a point (pixel coordinates of the area drawn, the
// area's top-left corner at 0, 0), or nothing.
using Picture = std::function<std::optional<Colour>(Vec2)>;

// Sample points per pixel along each axis.
constexpr int kSpriteSamples = 8;
constexpr int kIconSamples = 4;

// Draws the picture over black into the w x h area of `out` at (left, top): each
// pixel is the picture's colour times the share of the pixel it covers. A pixel
// the picture touches at all is never pure black, so a mask made from the
// sprite's black pixels keeps every pixel of the picture.
void DrawOnBlack(Bitmap& out, int left, int top, int w, int h, const Picture& picture);

// Draws the picture into a size x size bitmap whose top byte is the alpha: the
// share of each pixel the picture covers.
Bitmap DrawWithAlpha(int size, const Picture& picture);

}  // namespace kelvarok::art
