// What a game controller tells the program, in the program's own terms: the
// buttons it acts on, the left stick, and controllers coming and going.
#pragma once

#include <cstdint>
#include <vector>

namespace kelvarok {

// A controller's face buttons, its back, guide and start buttons, and its
// d-pad (Up, Down, Left, Right). Where a press is meant, the left stick
// counts as the d-pad and a held direction repeats.
enum class PadButton { A, B, X, Y, Back, Guide, Start, Up, Down, Left, Right };

enum class PadAxis { LeftX, LeftY };

// One change on one controller, in the order the controller made them.
struct PadInput {
  enum class Kind { ButtonDown, ButtonUp, AxisMoved, Removed };
  Kind kind = Kind::ButtonDown;
  std::int32_t controller = 0;      // stays the same while the controller is connected
  PadButton button = PadButton::A;  // ButtonDown, ButtonUp
  PadAxis axis = PadAxis::LeftX;    // AxisMoved
  std::int16_t value = 0;           // AxisMoved: -32768..32767, down and right positive
};

// Where the controllers' changes come from: SDL's game controllers, or a
// test's script.
class PadInputSource {
 public:
  virtual ~PadInputSource() = default;
  // Every change since the last call, oldest first; none is lost between
  // calls, however short a press.
  virtual std::vector<PadInput> TakePadInputs() = 0;
  // Whether at least one game controller is connected.
  virtual bool ControllerConnected() = 0;
};

}  // namespace kelvarok
