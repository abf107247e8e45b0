#include "sdl/sdl_pad_events.h"

#include <SDL.h>

#include <array>
#include <optional>

namespace kelvarok {
namespace {

std::optional<PadButton> ButtonOf(Uint8 button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_A:
      return PadButton::A;
    case SDL_CONTROLLER_BUTTON_B:
      return PadButton::B;
    case SDL_CONTROLLER_BUTTON_X:
      return PadButton::X;
    case SDL_CONTROLLER_BUTTON_Y:
      return PadButton::Y;
    case SDL_CONTROLLER_BUTTON_BACK:
      return PadButton::Back;
    case SDL_CONTROLLER_BUTTON_GUIDE:
      return PadButton::Guide;
    case SDL_CONTROLLER_BUTTON_START:
      return PadButton::Start;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
      return PadButton::Up;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
      return PadButton::Down;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
      return PadButton::Left;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
      return PadButton::Right;
    default:
      return std::nullopt;  // shoulders, stick clicks, paddles: nothing to do
  }
}

}  // namespace

SdlPadEvents::SdlPadEvents() {
  OpenNew();
}

SdlPadEvents::~SdlPadEvents() {
  for (const auto& [instance, controller] : open_) SDL_GameControllerClose(controller);
}

void SdlPadEvents::OpenNew() {
  for (int index = 0; index < SDL_NumJoysticks(); ++index) {
    if (!SDL_IsGameController(index) || open_.contains(SDL_JoystickGetDeviceInstanceID(index)))
      continue;
    if (SDL_GameController* controller = SDL_GameControllerOpen(index))
      open_.emplace(SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller)), controller);
  }
}

void SdlPadEvents::Drain() {
  std::array<SDL_Event, 64> events;
  for (;;) {
    const int count = SDL_PeepEvents(events.data(), static_cast<int>(events.size()), SDL_GETEVENT,
                                     SDL_JOYAXISMOTION, SDL_FINGERDOWN - 1);
    for (int i = 0; i < count; ++i) Read(events[static_cast<std::size_t>(i)]);
    if (count < static_cast<int>(events.size())) return;
  }
}

void SdlPadEvents::Read(const SDL_Event& event) {
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
      // Its device index may have changed since; every new one is opened.
      OpenNew();
      return;
    case SDL_CONTROLLERDEVICEREMOVED: {
      const auto found = open_.find(event.cdevice.which);  // an instance here
      if (found == open_.end()) return;
      SDL_GameControllerClose(found->second);
      open_.erase(found);
      Keep({PadInput::Kind::Removed, event.cdevice.which});
      return;
    }
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      if (const auto button = ButtonOf(event.cbutton.button)) {
        Keep({event.type == SDL_CONTROLLERBUTTONDOWN ? PadInput::Kind::ButtonDown
                                                     : PadInput::Kind::ButtonUp,
              event.cbutton.which, *button});
      }
      return;
    case SDL_CONTROLLERAXISMOTION:
      if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX ||
          event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) {
        Keep({PadInput::Kind::AxisMoved, event.caxis.which, PadButton::A,
              event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX ? PadAxis::LeftX : PadAxis::LeftY,
              event.caxis.value});
      }
      return;
    default:
      return;  // the joysticks' own events, which the controllers' repeat
  }
}

void SdlPadEvents::Keep(const PadInput& input) {
  if (kept_.size() == kKept) kept_.pop_front();
  kept_.push_back(input);
}

std::vector<PadInput> SdlPadEvents::Take() {
  std::vector<PadInput> taken(kept_.begin(), kept_.end());
  kept_.clear();
  return taken;
}

}  // namespace kelvarok
