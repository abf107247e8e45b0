// The desktop icons: the thrusting ship, nose up and to the right, on a
// rounded dark square of space.
#pragma once

#include <array>

#include "platform/bitmap.h"

namespace kelvarok::art {

// The sizes of the hicolor icon theme the program installs.
constexpr std::array<int, 9> kIconSizes = {16, 22, 24, 32, 48, 64, 128, 256, 512};

// A size x size icon; the top byte of each pixel is its alpha.
Bitmap DrawIcon(int size);

}  // namespace kelvarok::art
