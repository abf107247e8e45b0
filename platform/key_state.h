// Polled keyboard state with GetAsyncKeyState's meaning over Windows
// virtual-key codes.
#pragma once

#include <array>
#include <cstdint>

namespace kelvarok {

// The virtual-key codes the game itself names.
enum VirtualKey : int {
  VK_BACK = 0x08,
  VK_TAB = 0x09,
  VK_RETURN = 0x0D,
  VK_SHIFT = 0x10,
  VK_CONTROL = 0x11,
  VK_MENU = 0x12,
  VK_ESCAPE = 0x1B,
  VK_SPACE = 0x20,
  VK_LEFT = 0x25,
  VK_UP = 0x26,
  VK_RIGHT = 0x27,
  VK_DOWN = 0x28,
  VK_NUMPAD0 = 0x60,
  VK_F1 = 0x70,
};

class KeyState {
 public:
  virtual ~KeyState() = default;
  // Most significant bit set (a negative result) while the key is down.
  virtual std::int16_t GetAsyncKeyState(int vk) = 0;
};

// True when GetAsyncKeyState reports the key as down.
inline bool KeyDown(KeyState& keys, int vk) {
  return keys.GetAsyncKeyState(vk) < 0;
}

// A 256-entry down/up table, fed from key events by the desktop shell and by
// scripts in tests and the simulator.
class KeyTable final : public KeyState {
 public:
  std::int16_t GetAsyncKeyState(int vk) override;
  void Press(int vk);
  void Release(int vk);
  void ReleaseAll() { down_.fill(false); }
  bool IsDown(int vk) const { return vk >= 0 && vk < 256 && down_[static_cast<std::size_t>(vk)]; }

 private:
  std::array<bool, 256> down_{};
};

}  // namespace kelvarok
