// The script of kelvarok's virtual game controller: one timed event a line,
//   MS button NAME down|up    MS axis NAME VALUE    MS unplug    MS plug
// with SDL's game-controller names ("a", "start", "leftx", ...) and axis
// values -32768..32767. MS is milliseconds since the controller was first
// attached; "+MS" is that long after the line before it was played. A word
// that starts with "#" begins a comment; blank lines are ignored.
#pragma once

#include <SDL_gamecontroller.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kelvarok {

struct ControllerEvent {
  enum class Kind { Button, Axis, Unplug, Plug };

  std::uint32_t ms = 0;
  bool afterPrevious = false;  // "+MS": ms after the line before was played
  Kind kind = Kind::Plug;
  SDL_GameControllerButton button = SDL_CONTROLLER_BUTTON_INVALID;  // Button
  bool down = false;                                                // Button
  SDL_GameControllerAxis axis = SDL_CONTROLLER_AXIS_INVALID;        // Axis
  std::int16_t value = 0;                                           // Axis
  friend bool operator==(const ControllerEvent&, const ControllerEvent&) = default;
};

struct ControllerScriptError {
  int line = 0;
  std::string reason;
};

// Reads a script in pieces of whole lines, as a file that grows is read: the
// line numbers and the time of the last absolute line carry over from one
// piece to the next. Absolute times never go back before the previous
// absolute time (a "+MS" line is not compared: it plays after its
// predecessor whatever its time).
class ControllerScriptParser {
 public:
  // The events of lines (whole lines, the last one ending in "\n" or not),
  // or the first bad line; after an error the parser takes nothing more.
  std::variant<std::vector<ControllerEvent>, ControllerScriptError> Parse(std::string_view lines);

 private:
  int lineNumber_ = 0;
  std::uint32_t lastAbsoluteMs_ = 0;
  bool failed_ = false;
};

}  // namespace kelvarok
