// The simulator's input script: one timed event a line, "MS EVENT ...".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "game/flow_host.h"
#include "platform/joystick.h"

namespace kelvarok::sim {

struct ScriptEvent {
  enum class Kind { Menu, Key, Joy, Focus, Name, NameCancel, Close };

  std::uint32_t time = 0;  // virtual milliseconds
  Kind kind = Kind::Close;
  MenuItem item = MenuItem::N1Playerstart1;  // Menu
  int vk = 0;                                // Key
  bool down = false;                         // Key
  std::uint32_t joystick = 0;                // Joy: 0 or 1
  bool unplugged = false;                    // Joy: pulled out; else it reports joy
  JOYINFO joy;                               // Joy
  bool gained = false;                       // Focus
  std::string name;                          // Name, Latin-1
};

struct ScriptError {
  int line = 0;
  std::string reason;
};

// The events in file order, or the first bad line. Times never go backwards.
std::variant<std::vector<ScriptEvent>, ScriptError> ParseScript(std::string_view text);

// The script name of a menu item ("N1Playerstart1", ...).
std::string_view MenuItemName(MenuItem item);
inline constexpr MenuItem kMenuItems[] = {MenuItem::N1Playerstart1, MenuItem::N2Playerstart1,
                                          MenuItem::Pause1,         MenuItem::Quitgame1,
                                          MenuItem::Highscores1,    MenuItem::Exit1};

}  // namespace kelvarok::sim
