#include "game/game_menu.h"

namespace kelvarok {

void GameMenu::SetEnabled(MenuItem item, bool enabled) {
  ItemState& state = items_[Index(item)];
  if (state.enabled == enabled) return;
  state.enabled = enabled;
  view_.SetMenuEnabled(item, enabled);
}

void GameMenu::SetChecked(MenuItem item, bool checked) {
  ItemState& state = items_[Index(item)];
  if (state.checked == checked) return;
  state.checked = checked;
  view_.SetMenuChecked(item, checked);
}

}  // namespace kelvarok
