// Two lines of text centred on the field: the first ends on the horizontal
// middle line, the second starts there. Nothing is erased first.
#pragma once

#include <string>

#include "platform/bitmap.h"
#include "platform/text_painter.h"

namespace kelvarok {

void DrawCentredLines(TextPainter& text, Bitmap& field, int fieldWidthPx, int fieldHeightPx,
                      const std::string& first, const std::string& second);

}  // namespace kelvarok
