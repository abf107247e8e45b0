#include "app/key_mapping.h"

#include <QKeyEvent>
#include <algorithm>

namespace kelvarok {
namespace {

int KeypadKey(int qtKey) {
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return 96 + (qtKey - Qt::Key_0);
  switch (qtKey) {
    case Qt::Key_Asterisk:
      return 106;
    case Qt::Key_Plus:
      return 107;
    case Qt::Key_Minus:
      return 109;
    case Qt::Key_Period:
    case Qt::Key_Comma:
      return 110;  // the decimal key, whatever the locale prints
    case Qt::Key_Slash:
      return 111;
    default:
      return 0;
  }
}

// The digit row with Shift held on a US layout: the press still names the key.
int ShiftedDigit(int qtKey) {
  switch (qtKey) {
    case Qt::Key_ParenRight:
      return '0';
    case Qt::Key_Exclam:
      return '1';
    case Qt::Key_At:
      return '2';
    case Qt::Key_NumberSign:
      return '3';
    case Qt::Key_Dollar:
      return '4';
    case Qt::Key_Percent:
      return '5';
    case Qt::Key_AsciiCircum:
      return '6';
    case Qt::Key_Ampersand:
      return '7';
    case Qt::Key_Asterisk:
      return '8';
    case Qt::Key_ParenLeft:
      return '9';
    default:
      return 0;
  }
}

}  // namespace

int VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers) {
  if (modifiers.testFlag(Qt::KeypadModifier)) {
    if (const int vk = KeypadKey(qtKey)) return vk;
  }
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return '0' + (qtKey - Qt::Key_0);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return VK_F1 + (qtKey - Qt::Key_F1);
  switch (qtKey) {
    case Qt::Key_Backspace:
      return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return VK_TAB;
    case Qt::Key_Clear:
      return 12;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return VK_RETURN;
    case Qt::Key_Shift:
      return VK_SHIFT;
    case Qt::Key_Control:
      return VK_CONTROL;
    case Qt::Key_Alt:
      return VK_MENU;
    case Qt::Key_Pause:
      return 19;
    case Qt::Key_CapsLock:
      return 20;
    case Qt::Key_Escape:
      return VK_ESCAPE;
    case Qt::Key_Space:
      return VK_SPACE;
    case Qt::Key_PageUp:
      return 33;
    case Qt::Key_PageDown:
      return 34;
    case Qt::Key_End:
      return 35;
    case Qt::Key_Home:
      return 36;
    case Qt::Key_Left:
      return VK_LEFT;
    case Qt::Key_Up:
      return VK_UP;
    case Qt::Key_Right:
      return VK_RIGHT;
    case Qt::Key_Down:
      return VK_DOWN;
    case Qt::Key_Print:
      return 44;
    case Qt::Key_Insert:
      return 45;
    case Qt::Key_Delete:
      return 46;
    default:
      return ShiftedDigit(qtKey);
  }
}

bool KeyFeeder::Press(const QKeyEvent& event) {
  if (event.isAutoRepeat()) return false;
  const int vk = VirtualKeyOf(event.key(), event.modifiers());
  if (vk == 0) return false;
  if (event.nativeScanCode() != 0) pressedByScanCode_.insert(event.nativeScanCode(), vk);
  keys_.Press(vk);
  return true;
}

bool KeyFeeder::Release(const QKeyEvent& event) {
  if (event.isAutoRepeat()) return false;
  int vk = pressedByScanCode_.take(event.nativeScanCode());
  if (vk == 0) vk = VirtualKeyOf(event.key(), event.modifiers());
  if (vk == 0) return false;
  // Either Ctrl (or Shift) still held keeps the shared code down.
  const bool twinHeld = std::find(pressedByScanCode_.cbegin(), pressedByScanCode_.cend(), vk) !=
                        pressedByScanCode_.cend();
  if (!twinHeld) keys_.Release(vk);
  return true;
}

void KeyFeeder::ReleaseAll() {
  pressedByScanCode_.clear();
  keys_.ReleaseAll();
}

}  // namespace kelvarok
