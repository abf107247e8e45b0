#include "sdl/sdl_joysticks.h"

#include <SDL.h>

#include <algorithm>

namespace kelvarok {

namespace {

constexpr std::uint32_t kCentre = 32768;

std::uint32_t RawAxis(Sint16 value) {
  return static_cast<std::uint32_t>(value + 32768);
}

std::uint32_t ButtonBits(bool first, bool second) {
  return (first ? JOY_BUTTON1 : 0u) | (second ? JOY_BUTTON2 : 0u);
}

}  // namespace

SdlJoysticks::SdlJoysticks() {
  // SDL drops joystick input while it believes another window has the focus.
  // It has no window of its own here (Qt owns ours) and the game pauses itself
  // when it loses the focus, so input is taken whatever SDL believes.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  // The joystick subsystem brings up SDL's events, which would otherwise take
  // over SIGINT and SIGTERM and turn them into quit events nobody reads.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  initialised_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) == 0;
  if (initialised_) {
    // The slots' state is polled, but the controllers' buttons are read as
    // events, so that a press shorter than a poll still counts. SDL makes a
    // controller's events from its joystick's, so both kinds are wanted.
    SDL_JoystickEventState(SDL_ENABLE);
    SDL_GameControllerEventState(SDL_ENABLE);
    pads_ = std::make_unique<SdlPadEvents>();
  }
}

SdlJoysticks::~SdlJoysticks() {
  for (Device& device : slots_) Close(device);
  pads_.reset();
  if (initialised_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
}

std::vector<PadInput> SdlJoysticks::TakePadInputs() {
  if (!initialised_) return {};
  UpdateDevices();
  return pads_->Take();
}

bool SdlJoysticks::ControllerConnected() {
  if (!initialised_) return false;
  UpdateDevices();
  return pads_->AnyConnected();
}

std::uint32_t SdlJoysticks::joyGetPos(std::uint32_t id, JOYINFO& info) {
  if (id >= slots_.size()) return JOYERR_PARMS;
  if (!initialised_) return JOYERR_UNPLUGGED;
  UpdateDevices();
  const Device& device = slots_[id];
  if (device.joystick == nullptr) return JOYERR_UNPLUGGED;
  info = Read(device);
  return JOYERR_NOERROR;
}

void SdlJoysticks::UpdateDevices() {
  // Takes in the devices' new state and notices devices plugged and unplugged.
  SDL_JoystickUpdate();
  pads_->Drain();
  for (Device& device : slots_) {
    if (device.joystick != nullptr && !SDL_JoystickGetAttached(device.joystick)) Close(device);
  }
  const int count = SDL_NumJoysticks();
  for (int index = 0; index < count; ++index) {
    if (Holds(SDL_JoystickGetDeviceInstanceID(index))) continue;
    const auto empty = std::ranges::find(slots_, nullptr, &Device::joystick);
    if (empty == slots_.end()) return;
    *empty = Open(index);
  }
}

bool SdlJoysticks::Holds(SDL_JoystickID instance) const {
  return std::ranges::any_of(slots_, [instance](const Device& device) {
    return device.joystick != nullptr && SDL_JoystickInstanceID(device.joystick) == instance;
  });
}

SdlJoysticks::Device SdlJoysticks::Open(int device_index) {
  Device device;
  if (SDL_IsGameController(device_index)) {
    device.controller = SDL_GameControllerOpen(device_index);
    if (device.controller != nullptr)
      device.joystick = SDL_GameControllerGetJoystick(device.controller);
  } else {
    device.joystick = SDL_JoystickOpen(device_index);
  }
  return device;
}

void SdlJoysticks::Close(Device& device) {
  if (device.controller != nullptr) {
    SDL_GameControllerClose(device.controller);
  } else if (device.joystick != nullptr) {
    SDL_JoystickClose(device.joystick);
  }
  device = {};
}

JOYINFO SdlJoysticks::Read(const Device& device) {
  JOYINFO info;
  if (SDL_GameController* pad = device.controller) {
    info.wXpos = RawAxis(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX));
    info.wYpos = RawAxis(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY));
    info.wButtons = ButtonBits(SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_A) != 0,
                               SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_B) != 0);
    return info;
  }
  SDL_Joystick* stick = device.joystick;
  const int axes = SDL_JoystickNumAxes(stick);
  const auto axis = [&](int n, std::uint32_t absent) {
    return n < axes ? RawAxis(SDL_JoystickGetAxis(stick, n)) : absent;
  };
  info.wXpos = axis(0, kCentre);
  info.wYpos = axis(1, kCentre);
  info.wZpos = axis(2, 0);
  info.wButtons =
      ButtonBits(SDL_JoystickGetButton(stick, 0) != 0, SDL_JoystickGetButton(stick, 1) != 0);
  return info;
}

}  // namespace kelvarok
