// The field's background: black, strewn with small white stars.
#pragma once

#include "platform/bitmap.h"

namespace kelvarok::art {

constexpr int kFieldWidth = 750;
constexpr int kFieldHeight = 450;

Bitmap DrawStarfield();

}  // namespace kelvarok::art
