// SdlJoysticks against SDL's virtual joysticks and game controllers: the
// record's axes and buttons, the two slots, plugging during use, and the
// controllers' events.
#include <gtest/gtest.h>

#include <SDL.h>

#include <memory>
#include <vector>

#include "sdl/sdl_joysticks.h"

namespace kelvarok {
namespace {

// A virtual device whose state the test sets; it reaches SdlJoysticks at its
// next joyGetPos, as a real device's would.
class VirtualDevice {
 public:
  VirtualDevice(SDL_JoystickType type, int axes, int buttons) {
    const int index = SDL_JoystickAttachVirtual(type, axes, buttons, 0);
    if (index >= 0) handle_ = SDL_JoystickOpen(index);
  }
  ~VirtualDevice() {
    Unplug();
    if (handle_ != nullptr) SDL_JoystickClose(handle_);
  }
  VirtualDevice(const VirtualDevice&) = delete;
  VirtualDevice& operator=(const VirtualDevice&) = delete;

  bool ok() const { return handle_ != nullptr; }
  void Axis(int axis, Sint16 value) { SDL_JoystickSetVirtualAxis(handle_, axis, value); }
  void Button(int button, bool down) {
    SDL_JoystickSetVirtualButton(handle_, button, down ? 1 : 0);
  }
  void Unplug() {
    if (handle_ == nullptr) return;
    const SDL_JoystickID instance = SDL_JoystickInstanceID(handle_);
    for (int index = 0; index < SDL_NumJoysticks(); ++index) {
      if (SDL_JoystickGetDeviceInstanceID(index) == instance) SDL_JoystickDetachVirtual(index);
    }
  }

 private:
  SDL_Joystick* handle_ = nullptr;
};

class SdlJoysticksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (SDL_NumJoysticks() != 0) GTEST_SKIP() << "a real joystick is connected";
  }

  // A plain two-button joystick.
  std::unique_ptr<VirtualDevice> Plug(int axes = 2, int buttons = 2) {
    auto device = std::make_unique<VirtualDevice>(SDL_JOYSTICK_TYPE_UNKNOWN, axes, buttons);
    EXPECT_TRUE(device->ok()) << SDL_GetError();
    return device;
  }

  std::unique_ptr<VirtualDevice> PlugController() {
    auto device = std::make_unique<VirtualDevice>(
        SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX);
    EXPECT_TRUE(device->ok()) << SDL_GetError();
    return device;
  }

  // A record no read would produce, to see that a failing call leaves it alone.
  static constexpr JOYINFO kUntouched{1, 2, 3, 0x80};

  SdlJoysticks joysticks_;  // first, so SDL's joystick subsystem is up
};

TEST_F(SdlJoysticksTest, AxesAndButtonsBecomeTheRecord) {
  struct Case {
    Sint16 x, y, z;
    bool button1, button2;
    JOYINFO expected;
  };
  const std::vector<Case> cases = {
      {0, 0, 0, false, false, {32768, 32768, 32768, 0}},  // centred
      {-32768, -32768, -32768, false, false, {0, 0, 0, 0}},
      {32767, 32767, 32767, false, false, {65535, 65535, 65535, 0}},
      {-16385, 0, 0, false, false, {16383, 32768, 32768, 0}},  // just left (below 16384)
      {-16384, 0, 0, false, false, {16384, 32768, 32768, 0}},  // not yet left
      {16384, 0, 0, false, false, {49152, 32768, 32768, 0}},   // not yet right
      {16385, 0, 0, false, false, {49153, 32768, 32768, 0}},   // just right (above 49152)
      {0, -26215, 0, false, false, {32768, 6553, 32768, 0}},   // just forward (below 6554)
      {0, -26214, 0, false, false, {32768, 6554, 32768, 0}},   // not yet forward
      {0, 0, 0, true, false, {32768, 32768, 32768, JOY_BUTTON1}},
      {0, 0, 0, false, true, {32768, 32768, 32768, JOY_BUTTON2}},
      {0, 0, 0, true, true, {32768, 32768, 32768, JOY_BUTTON1 | JOY_BUTTON2}},
  };
  const auto stick = Plug(3, 3);
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.x << ", " << c.y << ", " << c.z << " buttons " << c.button1 << c.button2);
    stick->Axis(0, c.x);
    stick->Axis(1, c.y);
    stick->Axis(2, c.z);
    stick->Button(0, c.button1);
    stick->Button(1, c.button2);
    stick->Button(2, true);  // a third button is not reported
    JOYINFO info = kUntouched;
    ASSERT_EQ(joysticks_.joyGetPos(JOYSTICKID1, info), JOYERR_NOERROR);
    EXPECT_EQ(info, c.expected);
  }
}

TEST_F(SdlJoysticksTest, GameControllerReadsLeftStickAndFaceButtonsAAndB) {
  const auto pad = PlugController();
  ASSERT_TRUE(SDL_IsGameController(0));
  struct Case {
    Sint16 left_x, left_y;
    SDL_GameControllerButton button;
    JOYINFO expected;
  };
  const std::vector<Case> cases = {
      {-32768, 32767, SDL_CONTROLLER_BUTTON_A, {0, 65535, 0, JOY_BUTTON1}},
      {32767, -32768, SDL_CONTROLLER_BUTTON_B, {65535, 0, 0, JOY_BUTTON2}},
      {0, 0, SDL_CONTROLLER_BUTTON_X, {32768, 32768, 0, 0}},
      {0, 0, SDL_CONTROLLER_BUTTON_Y, {32768, 32768, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    pad->Axis(SDL_CONTROLLER_AXIS_LEFTX, c.left_x);
    pad->Axis(SDL_CONTROLLER_AXIS_LEFTY, c.left_y);
    pad->Axis(SDL_CONTROLLER_AXIS_RIGHTX, 32767);  // the right stick steers nothing
    for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b) pad->Button(b, b == c.button);
    JOYINFO info = kUntouched;
    ASSERT_EQ(joysticks_.joyGetPos(JOYSTICKID1, info), JOYERR_NOERROR);
    EXPECT_EQ(info, c.expected);
  }
}

TEST_F(SdlJoysticksTest, SecondJoystickAnswersJoystickId2) {
  const auto first = Plug();
  const auto second = Plug();
  first->Axis(0, -32768);
  first->Button(0, true);
  second->Axis(1, 32767);
  second->Button(1, true);
  JOYINFO one = kUntouched, two = kUntouched;
  ASSERT_EQ(joysticks_.joyGetPos(JOYSTICKID1, one), JOYERR_NOERROR);
  ASSERT_EQ(joysticks_.joyGetPos(JOYSTICKID2, two), JOYERR_NOERROR);
  EXPECT_EQ(one, (JOYINFO{0, 32768, 0, JOY_BUTTON1}));
  EXPECT_EQ(two, (JOYINFO{32768, 65535, 0, JOY_BUTTON2}));
}

TEST_F(SdlJoysticksTest, UnknownIdIsAParameterError) {
  const auto stick = Plug();
  JOYINFO info = kUntouched;
  EXPECT_EQ(joysticks_.joyGetPos(2, info), JOYERR_PARMS);
  EXPECT_EQ(info, kUntouched);
}

// Plugging in during a game works from the next call; unplugging reports
// JOYERR_UNPLUGGED and leaves the caller's record as it was. A stick without a
// third axis reports z as 0.
TEST_F(SdlJoysticksTest, PlugAndUnplugDuringUse) {
  JOYINFO info = kUntouched;
  EXPECT_EQ(joysticks_.joyGetPos(JOYSTICKID1, info), JOYERR_UNPLUGGED);
  EXPECT_EQ(info, kUntouched);

  auto stick = Plug();
  stick->Axis(0, 32767);
  ASSERT_EQ(joysticks_.joyGetPos(JOYSTICKID1, info), JOYERR_NOERROR);
  EXPECT_EQ(info, (JOYINFO{65535, 32768, 0, 0}));

  stick->Unplug();
  info = kUntouched;
  EXPECT_EQ(joysticks_.joyGetPos(JOYSTICKID1, info), JOYERR_UNPLUGGED);
  EXPECT_EQ(info, kUntouched);

  const auto replacement = Plug();
  replacement->Button(1, true);
  ASSERT_EQ(joysticks_.joyGetPos(JOYSTICKID1, info), JOYERR_NOERROR);
  EXPECT_EQ(info, (JOYINFO{32768, 32768, 0, JOY_BUTTON2}));
}

// Each player keeps his own stick: unplugging the first leaves the second on
// JOYSTICKID2, and the next stick plugged in takes the empty JOYSTICKID1.
TEST_F(SdlJoysticksTest, UnpluggingTheFirstKeepsTheSecondInItsSlot) {
  auto first = Plug();
  const auto second = Plug();
  second->Button(0, true);
  JOYINFO info = kUntouched;
  ASSERT_EQ(joysticks_.joyGetPos(JOYSTICKID2, info), JOYERR_NOERROR);

  first->Unplug();
  info = kUntouched;
  EXPECT_EQ(joysticks_.joyGetPos(JOYSTICKID1, info), JOYERR_UNPLUGGED);
  EXPECT_EQ(info, kUntouched);
  ASSERT_EQ(joysticks_.joyGetPos(JOYSTICKID2, info), JOYERR_NOERROR);
  EXPECT_EQ(info.wButtons, JOY_BUTTON1);

  const auto third = Plug();
  third->Axis(0, -32768);
  ASSERT_EQ(joysticks_.joyGetPos(JOYSTICKID1, info), JOYERR_NOERROR);
  EXPECT_EQ(info, (JOYINFO{0, 32768, 0, 0}));
  ASSERT_EQ(joysticks_.joyGetPos(JOYSTICKID2, info), JOYERR_NOERROR);
  EXPECT_EQ(info.wButtons, JOY_BUTTON1);
}

// Each change a controller reports is one input, in order, however soon it
// is undone; the joysticks' own events and the buttons and axes the program
// does not use give none, and SDL's queue is emptied by joyGetPos as well.
TEST_F(SdlJoysticksTest, ControllerChangesAreReadAsInputs) {
  const auto stick = Plug();
  EXPECT_FALSE(joysticks_.ControllerConnected());
  const auto pad = PlugController();
  EXPECT_TRUE(joysticks_.ControllerConnected());
  const std::int32_t id = SDL_JoystickGetDeviceInstanceID(1);
  const auto changed = [](auto change) {
    change();
    SDL_JoystickUpdate();
  };
  changed([&] { pad->Button(SDL_CONTROLLER_BUTTON_START, true); });
  changed([&] { pad->Button(SDL_CONTROLLER_BUTTON_START, false); });
  changed([&] { pad->Button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, true); });
  changed([&] { pad->Axis(SDL_CONTROLLER_AXIS_RIGHTX, 20000); });
  changed([&] { stick->Button(0, true); });
  changed([&] { pad->Axis(SDL_CONTROLLER_AXIS_LEFTY, -30000); });
  JOYINFO info;
  joysticks_.joyGetPos(JOYSTICKID1, info);
  EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT), 0);
  changed([&] { pad->Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true); });
  changed([&] { pad->Button(SDL_CONTROLLER_BUTTON_GUIDE, true); });

  using Kind = PadInput::Kind;
  const std::vector<PadInput> expected = {
      {Kind::ButtonDown, id, PadButton::Start},
      {Kind::ButtonUp, id, PadButton::Start},
      {Kind::AxisMoved, id, PadButton::A, PadAxis::LeftY, -30000},
      {Kind::ButtonDown, id, PadButton::Left},
      {Kind::ButtonDown, id, PadButton::Guide},
  };
  const std::vector<PadInput> inputs = joysticks_.TakePadInputs();
  ASSERT_EQ(inputs.size(), expected.size());
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(inputs[i].kind, expected[i].kind);
    EXPECT_EQ(inputs[i].controller, expected[i].controller);
    if (inputs[i].kind == Kind::AxisMoved) {
      EXPECT_EQ(inputs[i].axis, expected[i].axis);
      EXPECT_EQ(inputs[i].value, expected[i].value);
    } else {
      EXPECT_EQ(inputs[i].button, expected[i].button);
    }
  }
  EXPECT_TRUE(joysticks_.TakePadInputs().empty());

  pad->Unplug();
  const std::vector<PadInput> last = joysticks_.TakePadInputs();
  ASSERT_FALSE(last.empty());
  EXPECT_EQ(last.back().kind, Kind::Removed);
  EXPECT_EQ(last.back().controller, id);
  EXPECT_FALSE(joysticks_.ControllerConnected());
}

}  // namespace
}  // namespace kelvarok
