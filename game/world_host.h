// What the game world needs from the window it runs in, on two sides: what
// it reads (the polled controls, sampled once a frame) and what it shows (the
// score panels, the field's repaint request and the sound effects).
#pragma once

#include <string>

#include "game/effect.h"
#include "game/controls_sample.h"

#include "platform/joystick.h"
#include "platform/key_state.h"

namespace kelvarok {

// What the world reads: a replay answers exactly this.
class WorldSource {
 public:
  virtual ~WorldSource() = default;
  virtual KeyState& Keys() = 0;
  virtual Joystick& Joysticks() = 0;
  // The controls a frame acts on, given what it sampled from Keys() and
  // Joysticks(): the window hands the sample back, a replay recorder keeps
  // it, a replay player answers with the recorded one instead.
  virtual ControlsSample FrameControls(const ControlsSample& sampled) { return sampled; }
};

// What the world shows.
class WorldView {
 public:
  virtual ~WorldView() = default;
  // Sets the caption of ScorePanel[player] (P1Score or P2Score).
  virtual void SetScoreCaption(int player, const std::string& text) = 0;
  // Asks the field to repaint at the next message processing.
  virtual void InvalidateField() = 0;
  // Plays the effect; whether its switch is on is the game world's business.
  virtual void SoundEffect(Effect effect) = 0;
};

class WorldHost : public WorldSource, public WorldView {};

}  // namespace kelvarok
