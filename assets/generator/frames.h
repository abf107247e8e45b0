// Single frames of the sprite strips, each drawn over black at its frame size.
#pragma once

#include "assets/generator/ship_art.h"
#include "platform/bitmap.h"

namespace kelvarok::art {

constexpr int kShipFrame = 27;
constexpr int kShipHeadings = 36;
constexpr int kRockTurnSteps = 24;
constexpr int kDebrisTurnSteps = 18;

enum class RockKind { kBig, kMedium, kSmall, kHard };

// Frame width (and height) of a rock kind's strip: 29, 21 or 13.
int RockFrameSize(RockKind kind);

// The ship at heading 0 .. 35: its tip points right at 0, up at 9, left at 18,
// down at 27.
Bitmap DrawShipFrame(int heading, ShipLook look);

// The rock after `step` of its 24 steps of a turn; the hard rock has the small
// rock's shape.
Bitmap DrawRockFrame(RockKind kind, int step);

// The wreck's first piece (the front of the hull with the tip, pointing along
// the turn) or its fuselage behind the head, after `step` of the 18 steps of its turn.
Bitmap DrawNoseDebrisFrame(int step);
Bitmap DrawTailDebrisFrame(int step);

}  // namespace kelvarok::art
