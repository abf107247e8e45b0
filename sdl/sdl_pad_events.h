// Every connected game controller's button, stick and unplug events, read
// from SDL's event queue.
#pragma once

#include <SDL_events.h>
#include <SDL_gamecontroller.h>

#include <cstddef>
#include <deque>
#include <map>
#include <vector>

#include "platform/pad_input.h"

namespace kelvarok {

// Keeps every game controller open while it is connected, so that SDL
// reports its events. Needs SDL's joystick and game-controller subsystems up
// for its whole life, with their events enabled.
class SdlPadEvents {
 public:
  // Keeps at most this many changes nobody took; older ones are dropped.
  static constexpr std::size_t kKept = 1024;

  SdlPadEvents();  // opens the controllers connected now
  ~SdlPadEvents();
  SdlPadEvents(const SdlPadEvents&) = delete;
  SdlPadEvents& operator=(const SdlPadEvents&) = delete;

  // Moves every joystick and controller event out of SDL's queue, so that it
  // never grows, keeping the controllers' changes for Take.
  void Drain();
  // The changes drained so far, oldest first.
  std::vector<PadInput> Take();
  bool AnyConnected() const { return !open_.empty(); }

 private:
  // Opens the connected game controllers not yet open.
  void OpenNew();
  void Read(const SDL_Event& event);
  void Keep(const PadInput& input);

  std::map<SDL_JoystickID, SDL_GameController*> open_;
  std::deque<PadInput> kept_;
};

}  // namespace kelvarok
