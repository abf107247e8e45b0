// A built-in player for demos and soak runs. After every frame it chooses the
// keys to hold in the next one: it turns toward the rock its missiles can
// reach soonest and fires whenever the present heading would hit a rock, turns
// and thrusts away from rocks closing in, brakes when it flies too fast and
// jumps through hyperspace when a rock is about to hit. Integer arithmetic
// only, so every machine plays the same game.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "game/game_world.h"

namespace kelvarok {

class Autopilot {
 public:
  // output presses (true) or releases (false) a virtual key.
  using KeyOutput = std::function<void(int vk, bool down)>;
  Autopilot(const GameWorld& world, KeyOutput output);

  // After every frame: the keys for the next one.
  void Steer();
  // Whenever messages are processed: lets go of every key once the game is
  // over and holds Enter, so a turn prompt passes at once.
  void Tend(bool gameRunning);

 private:
  struct Controls {
    bool fire = false;
    bool thrust = false;
    bool left = false;
    bool right = false;
    bool hyperspace = false;
  };

  Controls Choose() const;
  void TurnToward(int heading, Controls& controls) const;
  void Brake(Controls& controls) const;
  bool HeadingHits(int heading) const;
  int InterceptHeading(int& frames) const;
  int EarliestThreat(int& rockSlot) const;
  // Where rock i will be after `frames` more frames, fixed point.
  void Predict(int i, int frames, std::int64_t& x, std::int64_t& y) const;
  void Hold(int vk, bool down);

  const GameWorld& world_;
  KeyOutput output_;
  std::array<bool, 256> held_{};
};

}  // namespace kelvarok
