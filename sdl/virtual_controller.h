// A game controller made by the program itself with SDL's virtual joysticks:
// SDL lists it, and reports its buttons and axes, like a pad plugged in, so
// whatever reads SDL's controllers cannot tell it from a real one.
#pragma once

#include <SDL_joystick.h>

#include <string>

#include "sdl/controller_script.h"

namespace kelvarok {

// Every button and axis SDL's game controllers have; it starts plugged in
// (when SDL lets it) with every button up and every axis at 0.
// Owns SDL's joystick and game-controller subsystems for its lifetime;
// create and use it on the thread that reads the controllers.
class VirtualController {
 public:
  VirtualController();
  ~VirtualController();
  VirtualController(const VirtualController&) = delete;
  VirtualController& operator=(const VirtualController&) = delete;

  bool plugged() const { return handle_ != nullptr; }
  // SDL's reason when the last plug failed; empty otherwise.
  const std::string& problem() const { return problem_; }

  // Applies one script event, then has SDL take in the change
  // (SDL_JoystickUpdate), so each change is an SDL event of its own, in
  // order. A button or axis while unplugged, a plug while plugged and an
  // unplug while unplugged change nothing. "plug" attaches a fresh
  // controller: every button up, every axis at 0.
  void Apply(const ControllerEvent& event);

 private:
  void Plug();
  void Unplug();

  bool initialised_ = false;
  SDL_Joystick* handle_ = nullptr;
  std::string problem_;
};

}  // namespace kelvarok
