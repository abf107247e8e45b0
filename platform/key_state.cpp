#include "platform/key_state.h"

namespace kelvarok {

std::int16_t KeyTable::GetAsyncKeyState(int vk) {
  return IsDown(vk) ? static_cast<std::int16_t>(-32768) : std::int16_t{0};
}

void KeyTable::Press(int vk) {
  if (vk >= 0 && vk < 256) down_[static_cast<std::size_t>(vk)] = true;
}

void KeyTable::Release(int vk) {
  if (vk >= 0 && vk < 256) down_[static_cast<std::size_t>(vk)] = false;
}

}  // namespace kelvarok
