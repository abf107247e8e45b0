#include "sdl/virtual_controller.h"

#include <SDL.h>

namespace kelvarok {

namespace {

constexpr char kName[] = "Kelvarok virtual controller";

}  // namespace

VirtualController::VirtualController() {
  // The joystick subsystem brings up SDL's events, which would otherwise take
  // over SIGINT and SIGTERM and turn them into quit events nobody reads.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  initialised_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) == 0;
  if (initialised_) {
    Plug();
  } else {
    problem_ = SDL_GetError();
  }
}

VirtualController::~VirtualController() {
  Unplug();
  if (initialised_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
}

void VirtualController::Apply(const ControllerEvent& event) {
  switch (event.kind) {
    case ControllerEvent::Kind::Plug:
      Plug();
      break;
    case ControllerEvent::Kind::Unplug:
      Unplug();
      break;
    case ControllerEvent::Kind::Button:
      if (handle_ == nullptr) return;
      SDL_JoystickSetVirtualButton(handle_, event.button, event.down ? 1 : 0);
      break;
    case ControllerEvent::Kind::Axis:
      if (handle_ == nullptr) return;
      SDL_JoystickSetVirtualAxis(handle_, event.axis, event.value);
      break;
  }
  SDL_JoystickUpdate();
}

void VirtualController::Plug() {
  if (!initialised_ || handle_ != nullptr) return;
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
  desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
  desc.name = kName;
  const int index = SDL_JoystickAttachVirtualEx(&desc);
  // Held open: SDL takes a virtual device's new state only from an open one.
  if (index >= 0) handle_ = SDL_JoystickOpen(index);
  problem_ = handle_ == nullptr ? SDL_GetError() : "";
}

void VirtualController::Unplug() {
  if (handle_ == nullptr) return;
  const SDL_JoystickID instance = SDL_JoystickInstanceID(handle_);
  for (int index = 0; index < SDL_NumJoysticks(); ++index) {
    if (SDL_JoystickGetDeviceInstanceID(index) == instance) SDL_JoystickDetachVirtual(index);
  }
  SDL_JoystickClose(handle_);
  handle_ = nullptr;
}

}  // namespace kelvarok
