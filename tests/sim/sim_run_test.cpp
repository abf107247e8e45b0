// Whole runs of the simulator: the trace's shape, how runs end, determinism
// and the replay of a recorded game.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <variant>

#include "sim/json_writer.h"
#include "sim/simulator.h"
#include "tests/game/flow_test_support.h"

namespace kelvarok::sim {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

std::vector<ScriptEvent> Events(const std::string& text) {
  auto parsed = ParseScript(text);
  EXPECT_TRUE(std::holds_alternative<std::vector<ScriptEvent>>(parsed));
  return std::get<std::vector<ScriptEvent>>(parsed);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

struct Outcome {
  std::string trace;
  std::string final;
  std::string keys;
};

Outcome RunSim(SimOptions options) {
  static const SpriteSet sprites = testing::MakeTestSprites();
  testing::FixedTextPainter text;
  std::ostringstream trace;
  std::ostringstream keys;
  options.trace = &trace;
  options.keyRecord = &keys;
  Simulator sim(sprites, text, std::move(options));
  Outcome out;
  out.final = sim.Run();
  out.trace = trace.str();
  out.keys = keys.str();
  return out;
}

TEST(JsonWriterTest, WritesNestedValuesAndEscapesStrings) {
  JsonWriter json;
  json.BeginObject().Key("a").Int(-3).Key("b").BeginArray().Bool(true).Int(0).EndArray();
  json.Key("s").String("q\"\\\n\xE9").EndObject();
  EXPECT_EQ(json.Take(), "{\"a\":-3,\"b\":[true,0],\"s\":\"q\\\"\\\\\\u000a\xC3\xA9\"}");
}

TEST(SimRunTest, NothingHappensWithoutAStartCommand) {
  SimOptions options;
  options.script = Events("500 focus lost\n");
  const Outcome out = RunSim(options);
  EXPECT_EQ(
      out.final, "{\"final\":true,\"t\":500,\"score\":[0,0],\"round\":[0,0],\"hiscores\":[" + [] {
        std::string s;
        for (int i = 0; i < 10; ++i)
          s += std::string(i ? "," : "") + "{\"score\":0,\"round\":0,\"name\":\"\"}";
        return s;
      }() + "]}");
  EXPECT_EQ(Lines(out.trace), std::vector<std::string>{out.final});
}

TEST(SimRunTest, TheTraceOpensAGameWithMenuIntroAndFrames) {
  SimOptions options;
  options.script = Events("0 menu N1Playerstart1\n");
  options.until = 2081;
  const auto lines = Lines(RunSim(options).trace);
  ASSERT_GE(lines.size(), 8u);
  EXPECT_THAT(lines[0], StartsWith("{\"t\":0,\"event\":\"menu\",\"items\":{\"N1Playerstart1\":"
                                   "{\"enabled\":false,\"checked\":false},"));
  EXPECT_EQ(lines[4], "{\"t\":0,\"event\":\"restore\"}");
  EXPECT_EQ(lines[5], "{\"t\":0,\"event\":\"caption\",\"text\":\"Kelvarok 2.10 - Round 1\"}");
  EXPECT_EQ(lines[6],
            "{\"t\":0,\"event\":\"message\",\"first\":\"Player 1\",\"second\":\"Round 1\"}");
  EXPECT_EQ(lines[7], "{\"t\":2001,\"event\":\"restore\"}");
  EXPECT_THAT(lines[8], StartsWith("{\"t\":2001,\"phase\":\"play\",\"player\":1,\"round\":1,"
                                   "\"score\":[0,0],\"shipsLeft\":[3,0],\"rockCount\":[3,0],"
                                   "\"shield\":249,\"penalty\":0,\"ship\":{\"x\":384000,"
                                   "\"y\":230400,\"vx\":0,\"vy\":0,\"heading\":9,\"warp\":0,"
                                   "\"thrusting\":false},\"rocks\":[{\"slot\":1,\"size\":1,"));
  EXPECT_THAT(lines[8], HasSubstr("\"missiles\":[],\"flags\":{\"gameOver\":false,"
                                  "\"roundCleared\":false,\"shipHit\":false,\"bonusMode\":false,"
                                  "\"fireLatch\":true,\"paused\":false}}"));
  // --until 2081 stops before the frame that would start there.
  EXPECT_THAT(lines[lines.size() - 2], StartsWith("{\"t\":2041,\"phase\":\"play\""));
  EXPECT_THAT(lines.back(), StartsWith("{\"final\":true,\"t\":2081,"));
}

TEST(SimRunTest, AGameWithAHighScoreTracesItsPromptAndTable) {
  SimOptions options;
  options.seed = 3;
  options.autopilot = true;
  options.script = Events("0 name Zo\xC3\xAB\n");
  const Outcome out = RunSim(options);
  const auto lines = Lines(out.trace);
  EXPECT_THAT(out.trace, HasSubstr("\"event\":\"prompt\",\"player\":1,\"answer\":\"Zo\xC3\xAB\"}"));
  EXPECT_THAT(out.trace, HasSubstr("\"event\":\"hiscores\",\"entries\":[{\"score\":"));
  EXPECT_THAT(out.final, HasSubstr("\"name\":\"Zo\xC3\xAB\"}"));
  EXPECT_EQ(lines.back(), out.final);
}

TEST(SimRunTest, AScriptedJoystickSteersItsPlayer) {
  SimOptions options;
  options.script = Events("0 menu N1Playerstart1\n0 joy 0 32768 0 1\n");
  options.until = 2041;
  const Outcome out = RunSim(options);
  // Stick forward: thrust along heading 9 (straight up).
  EXPECT_THAT(out.trace, HasSubstr("\"vx\":0,\"vy\":1024,\"heading\":9"));
  // Unplugged, or never moved though chosen in the settings: a stick at rest.
  const std::string atRest = "\"vx\":0,\"vy\":0,\"heading\":9";
  options.script = Events("0 menu N1Playerstart1\n");
  EXPECT_THAT(RunSim(options).trace, HasSubstr(atRest));
  options.script = Events("0 menu N1Playerstart1\n0 joy 0 0 0 1\n1000 joy 0 unplugged\n");
  EXPECT_THAT(RunSim(options).trace, HasSubstr(atRest));
  options.script = Events("0 menu N1Playerstart1\n");
  options.settings = PlayerSettings{};
  options.settings->game.JoyStick1 = 1;
  EXPECT_THAT(RunSim(options).trace, HasSubstr(atRest));
}

TEST(SimRunTest, ClosingEndsTheRunOnceTheGameHasReturned) {
  SimOptions options;
  options.script = Events("0 menu N1Playerstart1\n3000 close\n3000 menu Highscores1\n");
  const Outcome out = RunSim(options);
  EXPECT_THAT(out.final, StartsWith("{\"final\":true,\"t\":3001,"));
  EXPECT_THAT(out.trace, ::testing::Not(HasSubstr("\"event\":\"prompt\"")));
}

TEST(SimRunTest, ARunWaitingForInputThatCannotComeEnds) {
  SimOptions options;
  options.script = Events("0 menu N1Playerstart1\n3000 menu Pause1\n");
  const Outcome out = RunSim(options);
  EXPECT_THAT(out.final, StartsWith("{\"final\":true,\"t\":63000,"));
}

TEST(SimRunTest, TheSameSeedAndScriptGiveTheSameTrace) {
  SimOptions options;
  options.autopilot = true;
  options.until = 120000;
  options.seed = 11;
  const Outcome a = RunSim(options);
  const Outcome b = RunSim(options);
  EXPECT_EQ(a.trace, b.trace);
  options.seed = 12;
  EXPECT_NE(RunSim(options).trace, a.trace);
}

TEST(SimRunTest, ARecordedGameReplaysToTheSameTrace) {
  SimOptions recording;
  recording.autopilot = true;
  recording.seed = 5;
  recording.until = 300000;
  const Outcome played = RunSim(recording);
  ASSERT_THAT(played.trace, HasSubstr("\"phase\":\"bonus\""));

  SimOptions replay;
  replay.seed = 5;
  replay.until = 300000;
  replay.script = Events("0 menu N1Playerstart1\n" + played.keys);
  const Outcome replayed = RunSim(replay);
  EXPECT_TRUE(replayed.keys.empty());
  EXPECT_EQ(replayed.trace, played.trace);
}

}  // namespace
}  // namespace kelvarok::sim
