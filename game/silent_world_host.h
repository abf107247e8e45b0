// A world host for drawing and measuring without a window: no key is ever
// down, no joystick plugged in, and panels, repaints and sounds go nowhere.
#pragma once

#include <string>

#include "game/world_host.h"

namespace kelvarok {

class SilentWorldHost final : public WorldHost {
 public:
  KeyState& Keys() override { return keys_; }
  Joystick& Joysticks() override { return joysticks_; }
  void SetScoreCaption(int, const std::string&) override {}
  void InvalidateField() override {}
  void SoundEffect(Effect) override {}

 private:
  KeyTable keys_;
  ScriptedJoysticks joysticks_;
};

}  // namespace kelvarok
