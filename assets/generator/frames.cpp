#include "assets/generator/frames.h"

#include "assets/generator/raster.h"
#include "assets/generator/rock_art.h"

namespace kelvarok::art {

namespace {

// Draws a size x size frame whose picture is given relative to the frame's centre.
Bitmap DrawCentred(int size, const Picture& centred) {
  Bitmap frame(size, size, kBlack);
  const Vec2 centre{size / 2.0, size / 2.0};
  DrawOnBlack(frame, 0, 0, size, size, [&](Vec2 p) { return centred(p - centre); });
  return frame;
}

const RockShape& ShapeOf(RockKind kind) {
  static const RockShape big(14.2, 32676);
  static const RockShape medium(10.2, 56433);
  static const RockShape small(6.3, 8919);
  switch (kind) {
    case RockKind::kBig:
      return big;
    case RockKind::kMedium:
      return medium;
    case RockKind::kSmall:
    case RockKind::kHard:
      break;
  }
  return small;
}

}  // namespace

int RockFrameSize(RockKind kind) {
  switch (kind) {
    case RockKind::kBig:
      return 29;
    case RockKind::kMedium:
      return 21;
    case RockKind::kSmall:
    case RockKind::kHard:
      break;
  }
  return 13;
}

Bitmap DrawShipFrame(int heading, ShipLook look) {
  const Direction d = Direction::Step(heading, kShipHeadings);
  return DrawCentred(kShipFrame, [&](Vec2 p) { return ShipAt(p, d, look); });
}

Bitmap DrawRockFrame(RockKind kind, int step) {
  const Direction turn = Direction::Step(step, kRockTurnSteps);
  const RockShape& shape = ShapeOf(kind);
  const RockTint tint = kind == RockKind::kHard ? RockTint::kGreen : RockTint::kGrey;
  return DrawCentred(RockFrameSize(kind), [&](Vec2 p) { return shape.At(p, turn, tint); });
}

Bitmap DrawNoseDebrisFrame(int step) {
  const Direction turn = Direction::Step(step, kDebrisTurnSteps);
  return DrawCentred(kShipFrame, [&](Vec2 p) { return ShipNosePieceAt(p, turn); });
}

Bitmap DrawTailDebrisFrame(int step) {
  const Direction turn = Direction::Step(step, kDebrisTurnSteps);
  return DrawCentred(kShipFrame, [&](Vec2 p) { return ShipTailPieceAt(p, turn); });
}

}  // namespace kelvarok::art
