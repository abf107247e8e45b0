// Turns the changes of game controllers into what the player means: a press
// of a button, start and back together as guide, back held for a second, and
// the d-pad or left stick as directions that repeat while held.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "platform/pad_input.h"

namespace kelvarok {

struct PadGesture {
  enum class Kind {
    Press,      // the button's own action
    LongPress,  // back held down for kLongPressMs
    Down,       // a button (not a direction) went down
    Up,         // ... and up again
    Repeat,     // a held direction pressing again
  };
  Kind kind = Kind::Press;
  PadButton button = PadButton::A;
  std::int32_t controller = 0;
  friend bool operator==(const PadGesture&, const PadGesture&) = default;
};

// Every controller counts on its own. Times are milliseconds of one clock
// (timeGetTime), the time at which the caller read the change.
//
// - A, B, X, Y and guide: Down and Press as the button goes down, Up as it
//   comes up.
// - Start and back press as they come up, so that the two pressed together
//   (in either order, while both are down) give Guide as the second goes
//   down and neither gives its own Press nor back its LongPress.
// - Back held kLongPressMs gives LongPress then, and no Press when it comes
//   up.
// - A direction presses as the d-pad's button goes down or the left stick
//   leaves its dead zone that way, again kRepeatDelayMs later and then every
//   kRepeatIntervalMs while it is held (Repeat). The stick points along its farther
//   axis only, and lets go of a direction only once back under
//   kStickRelease.
// - A controller removed comes up in every button without pressing any.
class PadGestures {
 public:
  static constexpr std::uint32_t kLongPressMs = 1000;
  static constexpr std::uint32_t kRepeatDelayMs = 400;
  static constexpr std::uint32_t kRepeatIntervalMs = 125;
  static constexpr int kStickPress = 16384;
  static constexpr int kStickRelease = 12000;

  // The gestures the change completes, in order.
  std::vector<PadGesture> Feed(const PadInput& input, std::uint32_t now);
  // The gestures that time alone completes by now: long presses and repeats.
  std::vector<PadGesture> Advance(std::uint32_t now);

 private:
  static constexpr int kDirections = 4;  // Up, Down, Left, Right
  struct Direction {
    bool dpad = false;
    bool stick = false;
    std::uint32_t nextRepeat = 0;
    bool Held() const { return dpad || stick; }
  };
  struct Controller {
    std::uint32_t down = 0;  // one bit per PadButton below Up
    bool startUsed = false;  // pressed together with back: no press of its own
    bool backUsed = false;   // ... or held long
    std::uint32_t backSince = 0;
    std::int16_t x = 0, y = 0;
    int stickDirection = -1;  // index into directions, -1: in the dead zone
    Direction directions[kDirections];
  };

  void ButtonDown(Controller& pad, std::int32_t id, PadButton button, std::uint32_t now,
                  std::vector<PadGesture>& out);
  void ButtonUp(Controller& pad, std::int32_t id, PadButton button, std::vector<PadGesture>& out);
  void StickMoved(Controller& pad, std::int32_t id, std::uint32_t now,
                  std::vector<PadGesture>& out);
  // Sets one source of a direction; a direction that becomes held presses.
  static void HoldDirection(Controller& pad, std::int32_t id, int direction,
                            bool Direction::*source, bool held, std::uint32_t now,
                            std::vector<PadGesture>& out);

  std::map<std::int32_t, Controller> controllers_;
};

}  // namespace kelvarok
