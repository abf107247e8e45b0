// What the game world needs from the window it runs in: the polled controls,
// the score panels, the field's repaint request and the sound effects.
#pragma once

#include <string>

#include "platform/joystick.h"
#include "platform/key_state.h"

namespace kelvarok {

class WorldHost {
 public:
  virtual ~WorldHost() = default;
  virtual KeyState& Keys() = 0;
  virtual Joystick& Joysticks() = 0;
  // Sets the caption of ScorePanel[player] (P1Score or P2Score).
  virtual void SetScoreCaption(int player, const std::string& text) = 0;
  // Asks the field to repaint at the next message processing.
  virtual void InvalidateField() = 0;
  // Plays effect n: 0 explosion, 1 hyperspace, 2 missile, 3 thrust, 4 bonus.
  virtual void SoundEffect(int n) = 0;
};

}  // namespace kelvarok
