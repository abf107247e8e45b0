#include "app/key_mapping.h"

#include <gtest/gtest.h>

#include <QKeyEvent>

#include "app/key_names.h"

namespace kelvarok {
namespace {

QKeyEvent Key(QEvent::Type type, int key, Qt::KeyboardModifiers modifiers = {},
              quint32 scanCode = 0, bool autoRepeat = false) {
  return QKeyEvent(type, key, modifiers, scanCode, 0, 0, QString(), autoRepeat);
}

TEST(KeyMapping, QtKeysGiveTheVirtualKeyCodes) {
  const struct {
    int qtKey;
    Qt::KeyboardModifiers modifiers;
    int vk;
  } cases[] = {
      {Qt::Key_A, {}, 65},
      {Qt::Key_Z, Qt::ShiftModifier, 90},
      {Qt::Key_0, {}, 48},
      {Qt::Key_9, {}, 57},
      {Qt::Key_Exclam, Qt::ShiftModifier, 49},
      {Qt::Key_F1, {}, 112},
      {Qt::Key_F12, {}, 123},
      {Qt::Key_Left, {}, 37},
      {Qt::Key_Up, {}, 38},
      {Qt::Key_Right, {}, 39},
      {Qt::Key_Down, {}, 40},
      {Qt::Key_Home, {}, 36},
      {Qt::Key_End, {}, 35},
      {Qt::Key_PageUp, {}, 33},
      {Qt::Key_PageDown, {}, 34},
      {Qt::Key_Insert, {}, 45},
      {Qt::Key_Delete, {}, 46},
      {Qt::Key_Space, {}, 32},
      {Qt::Key_Return, {}, 13},
      {Qt::Key_Enter, Qt::KeypadModifier, 13},
      {Qt::Key_Tab, {}, 9},
      {Qt::Key_Backtab, Qt::ShiftModifier, 9},
      {Qt::Key_Backspace, {}, 8},
      {Qt::Key_Escape, {}, 27},
      {Qt::Key_Shift, Qt::ShiftModifier, 16},
      {Qt::Key_Control, Qt::ControlModifier, 17},
      {Qt::Key_Alt, Qt::AltModifier, 18},
      {Qt::Key_0, Qt::KeypadModifier, 96},
      {Qt::Key_5, Qt::KeypadModifier, 101},
      {Qt::Key_9, Qt::KeypadModifier, 105},
      {Qt::Key_Asterisk, Qt::KeypadModifier, 106},
      {Qt::Key_Plus, Qt::KeypadModifier, 107},
      {Qt::Key_Minus, Qt::KeypadModifier, 109},
      {Qt::Key_Period, Qt::KeypadModifier, 110},
      {Qt::Key_Slash, Qt::KeypadModifier, 111},
      {Qt::Key_Home, Qt::KeypadModifier, 36},  // keypad 7 without Num Lock
      {Qt::Key_Minus, {}, 0},                  // not a key the game knows
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.vk);
    EXPECT_EQ(VirtualKeyOf(c.qtKey, c.modifiers), c.vk);
  }
}

TEST(KeyMapping, EveryBindableKeyHasAQtKey) {
  // Each code of the keyboard dialog's table can be produced from the keyboard.
  QList<int> produced;
  for (int key = Qt::Key_Space; key <= Qt::Key_AsciiTilde; ++key) {
    produced << VirtualKeyOf(key, {}) << VirtualKeyOf(key, Qt::KeypadModifier);
  }
  for (int key = Qt::Key_Escape; key <= Qt::Key_PageDown; ++key) produced << VirtualKeyOf(key, {});
  produced << VirtualKeyOf(Qt::Key_Shift, {}) << VirtualKeyOf(Qt::Key_Control, {});
  for (const KeyName& name : kKeyNames) EXPECT_TRUE(produced.contains(name.code)) << name.text;
}

TEST(KeyFeeder, AutoRepeatIsIgnoredAndReleasesFollowTheirPress) {
  KeyTable keys;
  KeyFeeder feeder(keys);
  // Shift pressed after "1": the release arrives as "!" but frees "1".
  feeder.Press(Key(QEvent::KeyPress, Qt::Key_1, {}, 10));
  EXPECT_TRUE(keys.IsDown('1'));
  EXPECT_FALSE(feeder.Press(Key(QEvent::KeyPress, Qt::Key_1, {}, 10, true)));
  EXPECT_FALSE(feeder.Release(Key(QEvent::KeyRelease, Qt::Key_1, {}, 10, true)));
  EXPECT_TRUE(keys.IsDown('1'));
  feeder.Release(Key(QEvent::KeyRelease, Qt::Key_Exclam, Qt::ShiftModifier, 10));
  EXPECT_FALSE(keys.IsDown('1'));
}

TEST(KeyFeeder, CtrlStaysDownWhileEitherCtrlIsHeld) {
  KeyTable keys;
  KeyFeeder feeder(keys);
  constexpr quint32 kLeftCtrl = 37, kRightCtrl = 105;
  feeder.Press(Key(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, kLeftCtrl));
  feeder.Press(Key(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, kRightCtrl));
  feeder.Release(Key(QEvent::KeyRelease, Qt::Key_Control, {}, kLeftCtrl));
  EXPECT_TRUE(keys.IsDown(VK_CONTROL));
  feeder.Release(Key(QEvent::KeyRelease, Qt::Key_Control, {}, kRightCtrl));
  EXPECT_FALSE(keys.IsDown(VK_CONTROL));
}

TEST(KeyFeeder, ReleaseAllLetsGoOfEveryKey) {
  KeyTable keys;
  KeyFeeder feeder(keys);
  feeder.Press(Key(QEvent::KeyPress, Qt::Key_Up, {}, 111));
  feeder.Press(Key(QEvent::KeyPress, Qt::Key_Space));
  feeder.ReleaseAll();
  EXPECT_FALSE(keys.IsDown(VK_UP));
  EXPECT_FALSE(keys.IsDown(VK_SPACE));
  // A press after the focus came back counts again.
  feeder.Press(Key(QEvent::KeyPress, Qt::Key_Up, {}, 111));
  EXPECT_TRUE(keys.IsDown(VK_UP));
}

}  // namespace
}  // namespace kelvarok
