// What one look at the game controllers costs (SdlJoysticks with one of
// SDL's virtual controllers connected): the navigator looks 60 times a
// second while a controller is connected, twice a second while none is.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include "sdl/sdl_joysticks.h"

namespace kelvarok {
namespace {

void BM_LookAtControllers(benchmark::State& state) {
  SdlJoysticks joysticks;
  const bool withController = state.range(0) != 0;
  SDL_Joystick* device = nullptr;
  int index = -1;
  if (withController) {
    index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                      SDL_CONTROLLER_BUTTON_MAX, 0);
    device = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
    if (device == nullptr) {
      state.SkipWithError(SDL_GetError());
      return;
    }
  }
  int pressed = 0;
  for (auto _ : state) {
    // One button change a look, as a busy player makes them.
    if (device != nullptr)
      SDL_JoystickSetVirtualButton(device, SDL_CONTROLLER_BUTTON_A, ++pressed & 1);
    benchmark::DoNotOptimize(joysticks.ControllerConnected());
    benchmark::DoNotOptimize(joysticks.TakePadInputs());
  }
  if (device != nullptr) {
    SDL_JoystickClose(device);
    SDL_JoystickDetachVirtual(index);
  }
}
BENCHMARK(BM_LookAtControllers)->Arg(0)->Arg(1);

}  // namespace
}  // namespace kelvarok
