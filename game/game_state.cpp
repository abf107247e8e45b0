#include "game/game_state.h"

#include <cmath>
#include <numbers>

namespace kelvarok {

DirectionTables BuildDirectionTables() {
  DirectionTables tables;
  for (int i = 0; i < kHeadings; ++i) {
    const long double angle = static_cast<long double>(i) / 18.0L * std::numbers::pi_v<long double>;
    tables.CosTab[static_cast<std::size_t>(i)] =
        static_cast<std::int32_t>(std::lround(std::cos(angle) * 1024.0L));
    tables.SinTab[static_cast<std::size_t>(i)] =
        static_cast<std::int32_t>(std::lround(std::sin(angle) * 1024.0L));
  }
  return tables;
}

GameState::GameState(int fieldWidthPx, int fieldHeightPx)
    : FieldW(fieldWidthPx << 10), FieldH(fieldHeightPx << 10) {
  const DirectionTables tables = BuildDirectionTables();
  CosTab = tables.CosTab;
  SinTab = tables.SinTab;
}

}  // namespace kelvarok
