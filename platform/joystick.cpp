#include "platform/joystick.h"

namespace kelvarok {

std::uint32_t ScriptedJoysticks::joyGetPos(std::uint32_t id, JOYINFO& info) {
  if (id >= slots_.size()) return JOYERR_PARMS;
  if (!slots_[id].plugged) return JOYERR_UNPLUGGED;
  info = slots_[id].info;
  return JOYERR_NOERROR;
}

void ScriptedJoysticks::Set(std::uint32_t id, const JOYINFO& info) {
  if (id < slots_.size()) slots_[id] = {true, info};
}

void ScriptedJoysticks::Unplug(std::uint32_t id) {
  if (id < slots_.size()) slots_[id].plugged = false;
}

}  // namespace kelvarok
