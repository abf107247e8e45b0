#include "game/field_messages.h"
#include "game/game_flow.h"

namespace kelvarok {

void DrawCentredLines(TextPainter& text, Bitmap& field, int fieldWidthPx, int fieldHeightPx,
                      const std::string& first, const std::string& second) {
  // A line wider than the field gets a negative x and is clipped on the left.
  const TextExtent top = text.TextExtentOf(first);
  text.TextOut(field, (fieldWidthPx - top.cx) / 2, fieldHeightPx / 2 - top.cy, first);
  const TextExtent bottom = text.TextExtentOf(second);
  text.TextOut(field, (fieldWidthPx - bottom.cx) / 2, fieldHeightPx / 2, second);
}

void GameFlow::DrawMessage(const std::string& first, const std::string& second) {
  pauseOnField_ = false;
  DrawCentredLines(host_.FieldText(), world_.field, ToPixels(state_.FieldW),
                   ToPixels(state_.FieldH), first, second);
  host_.InvalidateField();
  if (observer_ != nullptr) observer_->MessageDrawn(first, second);
}

void GameFlow::RestoreField() {
  pauseOnField_ = false;
  world_.RestoreField();
  if (observer_ != nullptr) observer_->FieldRestored();
}

}  // namespace kelvarok
