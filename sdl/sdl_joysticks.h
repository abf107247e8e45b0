// joyGetPos over SDL2's joysticks and game controllers, with hot-plug, and
// the game controllers' button and stick events.
#pragma once

#include <SDL_gamecontroller.h>
#include <SDL_joystick.h>

#include <array>
#include <cstdint>
#include <memory>

#include "platform/joystick.h"
#include "platform/pad_input.h"
#include "sdl/sdl_pad_events.h"

namespace kelvarok {

// JOYSTICKID1 and JOYSTICKID2 are two slots that the connected devices fill in
// the order SDL lists them. A slot keeps its device until it is unplugged; an
// empty slot takes the next device plugged in, from the next call on, so
// unplugging one player's stick never hands the other player's to him.
//
// A device SDL knows as a game controller reads as its left stick and its A
// and B buttons; any other joystick as its first two (x, y) and third (z, or 0
// without one) axes and its first two buttons. Axes are SDL's values plus
// 32768: 0..65535 with the centre at 32768.
//
// Every game controller connected, in a slot or not, also reports its
// buttons and left stick as events (TakePadInputs): SDL's event queue is
// emptied at every call of either kind, so it never grows.
//
// Owns SDL's joystick and game-controller subsystems (no video) for its
// lifetime; create one, on the thread that polls it.
class SdlJoysticks final : public Joystick, public PadInputSource {
 public:
  SdlJoysticks();
  ~SdlJoysticks() override;
  SdlJoysticks(const SdlJoysticks&) = delete;
  SdlJoysticks& operator=(const SdlJoysticks&) = delete;

  // Reads the devices' current state and plugging first, so the host needs no
  // other per-frame call.
  std::uint32_t joyGetPos(std::uint32_t id, JOYINFO& info) override;

  std::vector<PadInput> TakePadInputs() override;
  bool ControllerConnected() override;

 private:
  struct Device {
    SDL_Joystick* joystick = nullptr;
    SDL_GameController* controller = nullptr;  // set when it is a game controller
  };

  void UpdateDevices();
  bool Holds(SDL_JoystickID instance) const;
  static Device Open(int device_index);
  static void Close(Device& device);
  static JOYINFO Read(const Device& device);

  bool initialised_ = false;
  std::array<Device, 2> slots_{};
  std::unique_ptr<SdlPadEvents> pads_;  // while initialised_
};

}  // namespace kelvarok
