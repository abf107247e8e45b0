// The virtual game controller's script, and the controller as SDL and
// SdlJoysticks see it: a game controller whose scripted changes read like a
// real pad's, each one an SDL event of its own.
#include <gtest/gtest.h>

#include <SDL.h>

#include <string>
#include <variant>
#include <vector>

#include "sdl/controller_script.h"
#include "sdl/sdl_joysticks.h"
#include "sdl/virtual_controller.h"

namespace kelvarok {
namespace {

// An event as the script writes it.
std::string Written(const ControllerEvent& e) {
  std::string text = (e.afterPrevious ? "+" : "") + std::to_string(e.ms) + " ";
  switch (e.kind) {
    case ControllerEvent::Kind::Button:
      return text + "button " + SDL_GameControllerGetStringForButton(e.button) +
             (e.down ? " down" : " up");
    case ControllerEvent::Kind::Axis:
      return text + "axis " + SDL_GameControllerGetStringForAxis(e.axis) + " " +
             std::to_string(e.value);
    case ControllerEvent::Kind::Unplug:
      return text + "unplug";
    case ControllerEvent::Kind::Plug:
      return text + "plug";
  }
  return text;
}

// The pieces through one parser, as a growing file is read; the events
// written back one a line, up to "line N: reason" of a bad piece.
std::string ParsedPieces(const std::vector<std::string>& pieces) {
  ControllerScriptParser parser;
  std::string out;
  for (const std::string& piece : pieces) {
    const auto parsed = parser.Parse(piece);
    if (const auto* error = std::get_if<ControllerScriptError>(&parsed))
      return out + "line " + std::to_string(error->line) + ": " + error->reason;
    for (const ControllerEvent& e : std::get<std::vector<ControllerEvent>>(parsed))
      out += Written(e) + "\n";
  }
  return out;
}

TEST(ControllerScript, LinesBecomeEventsOrTheFirstBadLineIsNamed) {
  const struct {
    std::vector<std::string> pieces;
    std::string expected;
  } cases[] = {
      {{"0 button a down\n+250 button a up  # a tap\n"}, "0 button a down\n+250 button a up\n"},
      {{"# start\n\n \t\n10 axis leftx -32768\r\n20 axis righttrigger 32767"},
       "10 axis leftx -32768\n20 axis righttrigger 32767\n"},
      {{"5 button dpup down\n5 button guide up\n5 unplug\n9 plug\n"},
       "5 button dpup down\n5 button guide up\n5 unplug\n9 plug\n"},
      // "+MS" is not compared with the times around it.
      {{"100 plug\n+10 unplug\n100 plug\n"}, "100 plug\n+10 unplug\n100 plug\n"},
      {{"0 button A down\n"}, "line 1: unknown button 'A'"},
      {{"0 button a\n"}, "line 1: expected 'button NAME down|up'"},
      {{"0 plug\n0 button a press\n"}, "line 2: expected 'down' or 'up'"},
      {{"0 axis leftz 0\n"}, "line 1: unknown axis 'leftz'"},
      {{"0 axis leftx 32768\n"}, "line 1: axis value must be -32768 to 32767, not '32768'"},
      {{"0 axis lefty -32769\n"}, "line 1: axis value must be -32768 to 32767, not '-32769'"},
      {{"0 axis lefty\n"}, "line 1: expected 'axis NAME VALUE'"},
      {{"x plug\n"}, "line 1: bad time 'x'"},
      {{"-5 plug\n"}, "line 1: bad time '-5'"},
      {{"+-5 plug\n"}, "line 1: bad time '+-5'"},
      {{"4294967296 plug\n"}, "line 1: bad time '4294967296'"},
      {{"5\n"}, "line 1: missing event"},
      {{"5 jump\n"}, "line 1: unknown event 'jump'"},
      {{"5 unplug now\n"}, "line 1: unexpected 'now'"},
      {{"100 plug\n\n50 unplug\n"},
       "line 3: time 50 goes back before 100 (use +MS or a later time)"},
      // A file read as it grows: line numbers and the last time carry over.
      {{"100 plug\n", "\n50 unplug\n"},
       "100 plug\nline 3: time 50 goes back before 100 (use +MS or a later time)"},
      {{"1 plug\n", "2 bad\n", "3 plug\n"}, "1 plug\nline 2: unknown event 'bad'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pieces.front());
    EXPECT_EQ(ParsedPieces(c.pieces), c.expected);
  }
}

// The script's lines through the controller.
void Play(VirtualController& pad, const std::string& script) {
  ControllerScriptParser parser;
  const auto parsed = parser.Parse(script);
  ASSERT_TRUE(std::holds_alternative<std::vector<ControllerEvent>>(parsed)) << script;
  for (const ControllerEvent& e : std::get<std::vector<ControllerEvent>>(parsed)) pad.Apply(e);
}

TEST(VirtualController, SdlJoysticksReadsItAsAGameControllerThatUnplugsAndPlugsAgain) {
  SdlJoysticks joysticks;
  if (SDL_NumJoysticks() != 0) GTEST_SKIP() << "a real joystick is connected";
  VirtualController pad;
  ASSERT_TRUE(pad.plugged()) << SDL_GetError();
  ASSERT_EQ(SDL_NumJoysticks(), 1);
  EXPECT_TRUE(SDL_IsGameController(0));
  const struct {
    const char* script;
    std::uint32_t status;
    JOYINFO expected;
  } steps[] = {
      {"0 axis leftx -32768\n0 axis lefty 32767\n0 button a down\n",
       JOYERR_NOERROR,
       {0, 65535, 0, JOY_BUTTON1}},
      // The right stick and the other buttons steer nothing.
      {"0 button a up\n0 button b down\n0 axis rightx 32767\n0 button x down\n",
       JOYERR_NOERROR,
       {0, 65535, 0, JOY_BUTTON2}},
      {"0 unplug\n", JOYERR_UNPLUGGED, {}},
      {"0 unplug\n0 button a down\n", JOYERR_UNPLUGGED, {}},
      // A fresh controller: at rest, whatever the one before held.
      {"0 plug\n", JOYERR_NOERROR, {32768, 32768, 0, 0}},
      {"0 plug\n0 axis leftx 32767\n", JOYERR_NOERROR, {65535, 32768, 0, 0}},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.script);
    Play(pad, step.script);
    JOYINFO info{};
    ASSERT_EQ(joysticks.joyGetPos(JOYSTICKID1, info), step.status);
    EXPECT_EQ(info, step.expected);  // left as it was when unplugged
    EXPECT_EQ(SDL_NumJoysticks(), pad.plugged() ? 1 : 0);
  }
}

// A press and a release applied one after the other, with nobody reading in
// between, are still two events in order; so are a plug and an unplug.
TEST(VirtualController, EveryChangeIsAnSdlEventOfItsOwn) {
  VirtualController pad;
  ASSERT_TRUE(pad.plugged()) << SDL_GetError();
  SDL_GameControllerEventState(SDL_ENABLE);
  SDL_GameController* controller = SDL_GameControllerOpen(0);
  ASSERT_NE(controller, nullptr) << SDL_GetError();
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  Play(pad, "0 button start down\n0 button start up\n0 axis lefty -20000\n0 axis lefty 0\n");
  SDL_Event events[8];
  const int count =
      SDL_PeepEvents(events, 8, SDL_GETEVENT, SDL_CONTROLLERAXISMOTION, SDL_CONTROLLERBUTTONUP);
  std::string seen;
  for (int i = 0; i < count; ++i) {
    const SDL_Event& e = events[i];
    if (e.type == SDL_CONTROLLERAXISMOTION)
      seen += "axis " + std::to_string(e.caxis.axis) + " " + std::to_string(e.caxis.value) + "; ";
    else
      seen += std::string(e.type == SDL_CONTROLLERBUTTONDOWN ? "down " : "up ") +
              std::to_string(e.cbutton.button) + "; ";
  }
  EXPECT_EQ(seen, "down 6; up 6; axis 1 -20000; axis 1 0; ");
  SDL_GameControllerClose(controller);
}

}  // namespace
}  // namespace kelvarok
