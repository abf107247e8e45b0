// The kelvarok-sim program as scripts call it: exit status, messages,
// snapshots and the final object.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/png.h"

namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

struct Result {
  int status;
  std::string out;
  std::string err;
};

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class SimCliTest : public ::testing::Test {
 protected:
  std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("kelvarok-sim-cli-" + std::to_string(::getpid()));
  void SetUp() override { std::filesystem::create_directories(dir); }
  void TearDown() override { std::filesystem::remove_all(dir); }

  std::string Write(const std::string& name, const std::string& text) {
    std::ofstream(dir / name, std::ios::binary) << text;
    return (dir / name).string();
  }
  Result Sim(const std::string& args) {
    const std::string command = std::string(KELVAROK_SIM) + " " + args + " >" +
                                (dir / "out").string() + " 2>" + (dir / "err").string();
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(dir / "out"), Slurp(dir / "err")};
  }
};

TEST_F(SimCliTest, ABadScriptLineRunsNothing) {
  const std::string script = Write("bad.txt", "0 menu N1Playerstart1\n5 jump\n");
  const Result r = Sim("--script " + script + " --trace " + (dir / "t").string());
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "line 2: unknown event 'jump'\n");
  EXPECT_EQ(r.out, "");
  EXPECT_FALSE(std::filesystem::exists(dir / "t"));
}

TEST_F(SimCliTest, BadOptionsAreRefused) {
  const std::string directory = dir.string();
  for (const std::string& args :
       std::vector<std::string>{"--speed 3", "--seed", "--seed x", "--until -1", "--snapshot 5",
                                "--script /nonexistent/kelvarok.txt", "--script " + directory,
                                "--settings /nonexistent/Kelvarok.conf", "--settings " + directory,
                                "--audio " + directory}) {
    SCOPED_TRACE(args);
    const Result r = Sim(args + " --autopilot --until 100");
    EXPECT_EQ(r.status, 2);
    EXPECT_THAT(r.err, StartsWith("kelvarok-sim: "));
    EXPECT_EQ(r.out, "");
  }
}

TEST_F(SimCliTest, TheSettingsFileGivesKeysSoundsAndTableAndStaysAsItWas) {
  const std::string text =
      "[General]\nThrustKey=17\nPhaserSounds=0\nscore1=5000\nRound1=3\nName1=Bob\n"
      "FireKey=x\n";
  const std::string settings = Write("Kelvarok.conf", text);
  const std::string script =
      Write("s.txt", "0 menu N1Playerstart1\n0 key 17 down\n2030 key 17 up\n2060 key 17 down\n");
  const Result r =
      Sim("--settings " + settings + " --script " + script + " --until 2200 --trace -");
  EXPECT_EQ(r.status, 0);
  EXPECT_THAT(r.out, HasSubstr("\"vy\":1024,\"heading\":9,\"warp\":0,\"thrusting\":true"));
  // A FireKey that does not parse is Ctrl (17) again: the key also fires, silently.
  EXPECT_THAT(r.out, HasSubstr("\"missiles\":[{\"slot\":1,\"life\":"));
  EXPECT_THAT(r.out, ::testing::Not(HasSubstr("\"event\":\"sound\",\"n\":2}")));
  EXPECT_THAT(r.out, HasSubstr("\"hiscores\":[{\"score\":5000,\"round\":3,\"name\":\"Bob\"}"));
  EXPECT_EQ(Slurp(settings), text);
}

TEST_F(SimCliTest, TheFinalObjectClosesTheTraceOnStdoutOnce) {
  const Result r = Sim("--autopilot --seed 2 --until 30000 --trace -");
  EXPECT_EQ(r.status, 0);
  EXPECT_THAT(r.out, StartsWith("{\"t\":0,\"event\":\"menu\""));
  EXPECT_THAT(r.out, EndsWith("\n"));
  const std::size_t last = r.out.rfind("{\"final\":true,\"t\":30000,");
  ASSERT_NE(last, std::string::npos);
  EXPECT_EQ(r.out.find("{\"final\""), last);
}

TEST_F(SimCliTest, ASnapshotSavesTheFieldAsItStands) {
  const std::string png = (dir / "intro.png").string();
  const Result r = Sim("--autopilot --until 3000 --snapshot 1000:" + png +
                       " --snapshot 9000:" + (dir / "never.png").string());
  EXPECT_EQ(r.status, 0);
  EXPECT_THAT(r.out, StartsWith("{\"final\":true,\"t\":3000,"));
  EXPECT_THAT(r.err, HasSubstr("the run ended before the snapshot at 9000 ms"));
  const auto field = kelvarok::ReadPngFile(png);
  ASSERT_TRUE(field.has_value());
  EXPECT_EQ(field->width(), 750);
  EXPECT_EQ(field->height(), 450);
  int yellow = 0;  // the intro's "Player 1" and "Round 1"
  for (const kelvarok::Pixel p : field->pixels()) yellow += p == kelvarok::Rgb(255, 255, 0) ? 1 : 0;
  EXPECT_GT(yellow, 100);
  EXPECT_FALSE(std::filesystem::exists(dir / "never.png"));
}

TEST_F(SimCliTest, AudioIsWrittenAsAWavOfTheRunsLength) {
  const std::string wav = (dir / "game.wav").string();
  const Result with =
      Sim("--autopilot --until 4000 --trace " + (dir / "with").string() + " --audio " + wav);
  EXPECT_EQ(with.status, 0);
  EXPECT_EQ(std::filesystem::file_size(wav), 44u + 4000u * 11025u / 1000u);
  EXPECT_EQ(Slurp(wav).substr(0, 4), "RIFF");
  EXPECT_EQ(Sim("--autopilot --until 4000 --trace " + (dir / "without").string()).status, 0);
  EXPECT_EQ(Slurp(dir / "with"), Slurp(dir / "without"));

  const Result refused = Sim("--autopilot --audio /nonexistent/kelvarok.wav");
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.err, "kelvarok-sim: cannot write '/nonexistent/kelvarok.wav'\n");
  EXPECT_EQ(Sim("--audio").status, 2);
}

TEST_F(SimCliTest, ReplaysEndWithTheReadmesExitStatuses) {
  const std::string kept = std::string(KELVAROK_SOURCE_DIR) + "/tests/replays/";
  std::string firstFormat =
      Slurp(std::string(KELVAROK_SOURCE_DIR) + "/fuzz/corpus/replay_file/demo_file");
  const std::string old = Write("old.kvr", firstFormat.substr(1));
  const std::string paused = kept + "pauses_and_focus/1.kvr";  // a pause of 90 s
  const struct {
    std::string args;
    int status;
    std::string err;
  } rows[] = {
      {"--replay " + paused + " --verify", 0, ""},
      {"--replay " + paused + " --until 5000", 0, ""},
      {"--replay " + paused + " --until 5000 --verify", 1, "before the recorded game ended"},
      {"--replay " + dir.string(), 2, "cannot read"},
      {"--replay " + old, 2, "The replay file comes from an unknown version of Kelvarok."},
      {"--replay " + kept + "bonus_round/1.kvr --verify", 0, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.args);
    const Result r = Sim(row.args);
    EXPECT_EQ(r.status, row.status);
    EXPECT_THAT(r.err, HasSubstr(row.err));
  }
}

TEST_F(SimCliTest, RecordedGamesReplayToTheSameFrames) {
  const std::string script =
      Write("s.txt",
            "0 menu N1Playerstart1\n3000 key 17 down\n3100 key 17 up\n3500 key 32 down\n"
            "3600 key 32 up\n3700 menu Quitgame1\n8000 menu N1Playerstart1\n");
  const std::string games = (dir / "games").string();
  ASSERT_EQ(Sim("--seed 1 --script " + script + " --record-games " + games + " --trace " +
                (dir / "live").string())
                .status,
            0);
  // The frame lines without their times, in order.
  const auto frames = [](const std::string& trace) {
    std::vector<std::string> lines;
    std::istringstream in(trace);
    for (std::string line; std::getline(in, line);)
      if (line.find("\"phase\"") != std::string::npos) lines.push_back(line.substr(line.find(',')));
    return lines;
  };
  const std::vector<std::string> live = frames(Slurp(dir / "live"));
  std::vector<std::string> replayed;
  for (const char* game : {"/1.kvr", "/2.kvr"}) {
    const Result r = Sim("--replay " + games + game + " --verify --trace -");
    EXPECT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> lines = frames(r.out);
    replayed.insert(replayed.end(), lines.begin(), lines.end());
  }
  EXPECT_FALSE(std::filesystem::exists(games + "/3.kvr"));
  EXPECT_EQ(replayed, live);
}

}  // namespace
