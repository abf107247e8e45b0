// The status bar's spare ships and the colours that mark whose turn it is.
#include <algorithm>

#include "game/game_flow.h"

namespace kelvarok {

void GameFlow::UpdateStatusBar() {
  // The ship in play is not shown.
  const std::int32_t spare = std::max(0, state_.ShipsLeft[state_.CurPlayer] - 1);
  host_.SetPanelCaption(StatusPanel::ShipPanel, std::string(static_cast<std::size_t>(spare), '^'));
  const bool first = state_.CurPlayer == 1;
  host_.SetPanelFontColour(StatusPanel::P1Panel, first ? kNavy : kGrey);
  host_.SetPanelFontColour(StatusPanel::P1Score, first ? kPurple : kGrey);
  host_.SetPanelFontColour(StatusPanel::P2Panel, first ? kGrey : kNavy);
  host_.SetPanelFontColour(StatusPanel::P2Score, first ? kGrey : kPurple);
}

}  // namespace kelvarok
