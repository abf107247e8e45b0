// The Game menu's items as the flow keeps them: which are enabled and which
// checked. The flow changes them here, and each change, and only a change,
// is pushed to the window's menu.
#pragma once

#include <array>
#include <cstddef>

namespace kelvarok {

// The Game menu's items whose state the flow sets.
enum class MenuItem { N1Playerstart1, N2Playerstart1, Pause1, Quitgame1, Highscores1, Exit1 };

// The window's side of the menu: shows what the flow sets.
class MenuView {
 public:
  virtual ~MenuView() = default;
  virtual void SetMenuEnabled(MenuItem item, bool enabled) = 0;
  virtual void SetMenuChecked(MenuItem item, bool checked) = 0;
};

class GameMenu {
 public:
  // The menu as the main window is created: the start items, the table and
  // Exit enabled, nothing checked.
  explicit GameMenu(MenuView& view) : view_(view) {}

  bool Enabled(MenuItem item) const { return items_[Index(item)].enabled; }
  bool Checked(MenuItem item) const { return items_[Index(item)].checked; }
  void SetEnabled(MenuItem item, bool enabled);
  void SetChecked(MenuItem item, bool checked);

 private:
  struct ItemState {
    bool enabled;
    bool checked;
  };
  static std::size_t Index(MenuItem item) { return static_cast<std::size_t>(item); }

  MenuView& view_;
  std::array<ItemState, 6> items_{
      {{true, false}, {true, false}, {false, false}, {false, false}, {true, false}, {true, false}}};
};

}  // namespace kelvarok
