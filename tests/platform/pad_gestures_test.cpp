// PadGestures on virtual milliseconds: presses, the start+back chord, back
// held long, directions from the d-pad and the stick with their repeats, and
// controllers counted apart.
#include "platform/pad_gestures.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace kelvarok {
namespace {

using K = PadGesture::Kind;
using B = PadButton;

struct Step {
  std::uint32_t t;
  std::optional<PadInput> input;  // none: only time passes (Advance)
};

Step Down(std::uint32_t t, B button, std::int32_t pad = 0) {
  return {t, PadInput{PadInput::Kind::ButtonDown, pad, button}};
}
Step Up(std::uint32_t t, B button, std::int32_t pad = 0) {
  return {t, PadInput{PadInput::Kind::ButtonUp, pad, button}};
}
Step Stick(std::uint32_t t, PadAxis axis, std::int16_t value) {
  return {t, PadInput{PadInput::Kind::AxisMoved, 0, B::A, axis, value}};
}
Step Removed(std::uint32_t t, std::int32_t pad = 0) {
  return {t, PadInput{PadInput::Kind::Removed, pad}};
}
Step At(std::uint32_t t) {
  return {t, std::nullopt};
}

std::string Describe(const PadGesture& g) {
  static const char* const kinds[] = {"Press", "LongPress", "Down", "Up", "Repeat"};
  static const char* const buttons[] = {"A",     "B",  "X",    "Y",    "Back", "Guide",
                                        "Start", "Up", "Down", "Left", "Right"};
  return std::string(kinds[static_cast<int>(g.kind)]) + " " + buttons[static_cast<int>(g.button)] +
         "@" + std::to_string(g.controller);
}

TEST(PadGesturesTest, InputsBecomeGestures) {
  struct Case {
    const char* name;
    std::vector<Step> steps;
    std::vector<PadGesture> expected;
  };
  constexpr auto X = PadAxis::LeftX;
  constexpr auto Y = PadAxis::LeftY;
  const std::vector<Case> cases = {
      {"a presses as it goes down",
       {Down(0, B::A), At(2000), Up(2000, B::A)},
       {{K::Down, B::A}, {K::Press, B::A}, {K::Up, B::A}}},
      {"start presses as it comes up",
       {Down(0, B::Start), At(1500), Up(1500, B::Start)},
       {{K::Down, B::Start}, {K::Press, B::Start}, {K::Up, B::Start}}},
      {"a short back presses as it comes up",
       {Down(0, B::Back), At(999), Up(999, B::Back)},
       {{K::Down, B::Back}, {K::Press, B::Back}, {K::Up, B::Back}}},
      {"a down and up read in one go still press",
       {Down(40, B::Back), Up(40, B::Back), At(2000)},
       {{K::Down, B::Back}, {K::Press, B::Back}, {K::Up, B::Back}}},
      {"back held a second is a long press and no press",
       {Down(0, B::Back), At(999), At(1000), At(3000), Up(3000, B::Back)},
       {{K::Down, B::Back}, {K::LongPress, B::Back}, {K::Up, B::Back}}},
      {"start then back is guide, and neither presses nor holds long",
       {Down(0, B::Start), Down(300, B::Back), At(2000), Up(2100, B::Start), Up(2200, B::Back)},
       {{K::Down, B::Start},
        {K::Down, B::Back},
        {K::Press, B::Guide},
        {K::Up, B::Start},
        {K::Up, B::Back}}},
      {"back then start is guide",
       {Down(0, B::Back), Down(900, B::Start), Up(950, B::Back), Up(960, B::Start)},
       {{K::Down, B::Back},
        {K::Down, B::Start},
        {K::Press, B::Guide},
        {K::Up, B::Back},
        {K::Up, B::Start}}},
      {"start after back's long press is start alone",
       {Down(0, B::Back), At(1000), Down(1200, B::Start), Up(1300, B::Start), Up(1400, B::Back)},
       {{K::Down, B::Back},
        {K::LongPress, B::Back},
        {K::Down, B::Start},
        {K::Press, B::Start},
        {K::Up, B::Start},
        {K::Up, B::Back}}},
      {"the guide button presses as it goes down",
       {Down(0, B::Guide), Up(10, B::Guide)},
       {{K::Down, B::Guide}, {K::Press, B::Guide}, {K::Up, B::Guide}}},
      {"a held d-pad repeats after the delay, then at the interval, until let go",
       {Down(0, B::Up), At(399), At(400), At(524), At(525), Up(600, B::Up), At(2000)},
       {{K::Press, B::Up}, {K::Repeat, B::Up}, {K::Repeat, B::Up}}},
      {"a late look repeats once",
       {Down(0, B::Right), At(5000), At(5100), At(5125)},
       {{K::Press, B::Right}, {K::Repeat, B::Right}, {K::Repeat, B::Right}}},
      {"the stick inside the dead zone presses nothing",
       {Stick(0, X, -16384), Stick(10, Y, 16384), At(1000)},
       {}},
      {"the stick past the dead zone presses and repeats until back under the release line",
       {Stick(0, X, -16385), Stick(100, X, -12001), At(400), Stick(450, X, -12000), At(2000)},
       {{K::Press, B::Left}, {K::Repeat, B::Left}}},
      {"a diagonal stick points along its farther axis, and turns once the other is farther",
       {Stick(0, X, 20000), Stick(0, Y, -25000), Stick(100, X, 30000), Stick(200, Y, 0)},
       {{K::Press, B::Right}, {K::Press, B::Up}, {K::Press, B::Right}}},
      {"the stick pulled across the centre presses the other way",
       {Stick(0, Y, 32767), Stick(50, Y, -32768)},
       {{K::Press, B::Down}, {K::Press, B::Up}}},
      {"d-pad and stick the same way are one held direction",
       {Down(0, B::Down), Stick(100, Y, 30000), Up(200, B::Down), At(400), Stick(450, Y, 0),
        At(1000)},
       {{K::Press, B::Down}, {K::Repeat, B::Down}}},
      {"start on one controller and back on another are no chord",
       {Down(0, B::Start, 1), Down(10, B::Back, 2), Up(20, B::Start, 1), Up(30, B::Back, 2)},
       {{K::Down, B::Start, 1},
        {K::Down, B::Back, 2},
        {K::Press, B::Start, 1},
        {K::Up, B::Start, 1},
        {K::Press, B::Back, 2},
        {K::Up, B::Back, 2}}},
      {"a controller removed lets go of its buttons without pressing",
       {Down(0, B::A), Down(0, B::Start), Down(0, B::Left), Removed(100), At(2000)},
       {{K::Down, B::A},
        {K::Press, B::A},
        {K::Down, B::Start},
        {K::Press, B::Left},
        {K::Up, B::A},
        {K::Up, B::Start}}},
      {"a button up without its down does nothing", {Up(0, B::Start), Up(0, B::B)}, {}},
      {"the clock's wrap does not end a hold early",
       {Down(0xFFFFFF00u, B::Back), At(0x00000010u), At(0x000002E8u)},
       {{K::Down, B::Back}, {K::LongPress, B::Back}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PadGestures gestures;
    std::vector<std::string> got, expected;
    for (const Step& step : c.steps) {
      const auto produced =
          step.input ? gestures.Feed(*step.input, step.t) : gestures.Advance(step.t);
      for (const PadGesture& g : produced) got.push_back(Describe(g));
    }
    for (const PadGesture& g : c.expected) expected.push_back(Describe(g));
    EXPECT_EQ(got, expected);
  }
}

}  // namespace
}  // namespace kelvarok
