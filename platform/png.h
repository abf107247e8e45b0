// PNG encoding and decoding of bitmaps, deterministic on every machine.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/bitmap.h"

namespace kelvarok {

// An 8-bit RGB PNG of the bitmap (alpha dropped), compressed at zlib's best
// level with fixed settings, so the same bitmap always gives the same bytes.
std::vector<std::uint8_t> EncodePng(const Bitmap& bitmap);

// The same as an 8-bit RGBA PNG whose alpha is the top byte of each pixel (for
// pictures with transparent parts, such as desktop icons).
std::vector<std::uint8_t> EncodePngWithAlpha(const Bitmap& bitmap);

// Decodes a non-interlaced 8-bit RGB or RGBA PNG (alpha ignored). Anything
// else, and any damaged file, gives nullopt; never reads outside the input.
std::optional<Bitmap> DecodePng(std::span<const std::uint8_t> bytes);

bool WritePngFile(const std::string& path, const Bitmap& bitmap);
std::optional<Bitmap> ReadPngFile(const std::string& path);

}  // namespace kelvarok
