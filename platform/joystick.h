// Joystick polling with joyGetPos's meaning: raw unsigned axes 0..65535 with the
// centre near 32768, and button bits.
#pragma once

#include <array>
#include <cstdint>

namespace kelvarok {

struct JOYINFO {
  std::uint32_t wXpos = 0;
  std::uint32_t wYpos = 0;
  std::uint32_t wZpos = 0;
  std::uint32_t wButtons = 0;
  friend bool operator==(const JOYINFO&, const JOYINFO&) = default;
};

constexpr std::uint32_t JOYSTICKID1 = 0;
constexpr std::uint32_t JOYSTICKID2 = 1;
constexpr std::uint32_t JOY_BUTTON1 = 0x0001;
constexpr std::uint32_t JOY_BUTTON2 = 0x0002;
constexpr std::uint32_t JOYERR_NOERROR = 0;
constexpr std::uint32_t JOYERR_PARMS = 165;
constexpr std::uint32_t JOYERR_UNPLUGGED = 167;

// A stick at rest: both axes in the middle, no button pressed.
constexpr JOYINFO kJoystickCentred{32768, 32768, 0, 0};

class Joystick {
 public:
  virtual ~Joystick() = default;
  // Fills info for joystick id and returns JOYERR_NOERROR; on failure returns an
  // error code and leaves info as it was.
  virtual std::uint32_t joyGetPos(std::uint32_t id, JOYINFO& info) = 0;
};

// Two joysticks whose state is set by a script (tests, the simulator). A
// joystick never set reports JOYERR_UNPLUGGED.
class ScriptedJoysticks final : public Joystick {
 public:
  std::uint32_t joyGetPos(std::uint32_t id, JOYINFO& info) override;
  void Set(std::uint32_t id, const JOYINFO& info);
  void Unplug(std::uint32_t id);

 private:
  struct Slot {
    bool plugged = false;
    JOYINFO info;
  };
  std::array<Slot, 2> slots_{};
};

}  // namespace kelvarok
