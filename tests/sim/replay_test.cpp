// Recorded games: the file keeps them exactly and refuses what it did not
// write, and a game recorded on the virtual host plays back to the same
// frames, sounds and end, the second game of a run included.
#include <gtest/gtest.h>

#include <zlib.h>

#include <fstream>
#include <sstream>
#include <variant>

#include "game/flow_texts.h"
#include "game/replay_file.h"
#include "game/replay_game.h"
#include "game/replay_recorder.h"
#include "sim/simulator.h"
#include "tests/game/flow_test_support.h"

namespace kelvarok::sim {
namespace {

// What a game showed: enough to tell two runs of it apart.
struct Seen final : FlowObserver {
  void FramePlayed(FramePhase phase, std::uint32_t, std::int32_t penalty) override {
    frames.push_back(static_cast<int>(phase) * 100000 + penalty);
  }
  void MessageDrawn(const std::string& first, const std::string& second) override {
    messages.push_back(first + "|" + second);
  }
  void FieldRestored() override {}
  std::vector<int> frames;
  std::vector<std::string> messages;
};

struct RecordedGame {
  Replay replay;
  Seen seen;
};

std::vector<ScriptEvent> ScriptFile(const std::string& name) {
  std::ifstream file(std::string(KELVAROK_SOURCE_DIR) + "/tests/traces/" + name + ".txt");
  std::stringstream text;
  text << file.rdbuf();
  auto parsed = ParseScript(text.str());
  EXPECT_TRUE(std::holds_alternative<std::vector<ScriptEvent>>(parsed)) << name;
  return std::get<std::vector<ScriptEvent>>(parsed);
}

const SpriteSet& Sprites() {
  static const SpriteSet sprites = testing::MakeTestSprites();
  return sprites;
}

// Plays the script on a virtual host through the recorder: one recording per
// game, with what each game showed. With quitAtFrame the game is quit right
// after that frame's work, between two message points, as the demo does.
std::vector<RecordedGame> Record(const std::string& script, std::uint64_t seed,
                                 int quitAtFrame = 0) {
  testing::FixedTextPainter text;
  VirtualFlowHost host(text);
  std::vector<RecordedGame> games(1);
  ReplayRecorder recorder(host, "test", [&](Replay replay) {
    games.back().replay = std::move(replay);
    games.emplace_back();
  });
  GameSettings settings;
  HiScoreTable table;
  GameWorld world(Sprites(), settings, recorder, seed);
  GameFlow flow(world, recorder, table, BaseCaptionText());
  flow.SetInputListener(&recorder);
  struct Watch final : FlowObserver {
    std::vector<RecordedGame>* games;
    GameFlow* flow;
    int quitAtFrame;
    void FramePlayed(FramePhase p, std::uint32_t s, std::int32_t c) override {
      games->back().seen.FramePlayed(p, s, c);
      if (static_cast<int>(games->back().seen.frames.size()) == quitAtFrame) flow->Quitgame1Click();
    }
    void MessageDrawn(const std::string& a, const std::string& b) override {
      games->back().seen.MessageDrawn(a, b);
    }
    void FieldRestored() override {}
  } watch;
  watch.games = &games;
  watch.flow = &flow;
  watch.quitAtFrame = quitAtFrame;
  flow.SetObserver(&watch);
  host.Attach(flow);
  host.SetStallLimit(kStallLimitMs);
  host.AddEvents(ScriptFile(script));
  host.Run();
  games.pop_back();  // the one no game filled
  return games;
}

// Plays the recording, after a trip through the file, on a fresh virtual host.
Seen Replayed(const Replay& recorded, GameState* end = nullptr) {
  const Replay replay = DecodeReplay(EncodeReplay(recorded));
  EXPECT_EQ(replay, recorded);
  testing::FixedTextPainter text;
  VirtualFlowHost host(text);
  ReplayGame game(Sprites(), replay, host, BaseCaptionText());
  Seen seen;
  game.flow().SetObserver(&seen);
  game.Play();
  if (end != nullptr) *end = game.world().state;
  return seen;
}

TEST(ReplayTest, RecordedGamesPlayBackFrameForFrame) {
  const struct {
    const char* script;
    std::uint64_t seed;
    std::size_t games;
    int quitAtFrame;
  } rows[] = {
      {"one_player", 1, 1, 0},
      {"one_player", 1, 1, 150},
      {"pause_and_focus", 8, 1, 0},
      {"hiscore_entry", 5, 2, 0},  // the second game starts where the first left the world
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.script);
    const std::vector<RecordedGame> games = Record(row.script, row.seed, row.quitAtFrame);
    ASSERT_EQ(games.size(), row.games);
    for (const RecordedGame& game : games) {
      GameState end(1, 1);
      const Seen seen = Replayed(game.replay, &end);
      EXPECT_GE(game.seen.frames.size(), 150u);
      EXPECT_EQ(seen.frames, game.seen.frames);
      EXPECT_EQ(seen.messages, game.seen.messages);
      for (int p = 1; p <= game.replay.players; ++p) {
        EXPECT_EQ(end.Score[p], game.replay.finalScores[p]);
        EXPECT_EQ(end.RoundNo[p], game.replay.finalRounds[p]);
      }
    }
    if (row.games == 2) {  // the names typed at the prompts are in the recordings
      EXPECT_EQ(games[1].replay.hiscores[1].Name, "First");
      EXPECT_EQ(games[1].replay.answers.size(), 1u);
    }
  }
}

TEST(ReplayTest, ARecordingOfAnotherGameIsFoundOut) {
  Replay forged = Record("pause_and_focus", 8).front().replay;
  const Replay original = forged;
  forged.randomState ^= 1;
  bool differs = false;
  try {
    GameState end(1, 1);
    const Seen seen = Replayed(forged, &end);
    differs = end.Score[1] != original.finalScores[1] || end.RoundNo[1] != original.finalRounds[1];
  } catch (const ReplayOutOfStep&) {
    differs = true;
  }
  EXPECT_TRUE(differs);
}

TEST(ReplayFileTest, OnlyAWholeFileOfThisFormatIsRead) {
  Replay replay;
  replay.programVersion = "2.10";
  replay.players = 2;
  replay.randomState = 0xFEDCBA9876543210ull;
  replay.settings.CrashSounds = false;
  replay.settings.JoyStick2 = 2;
  replay.hiscores[1] = {5230, 4, "Ren\xE9"};
  replay.finalScores[2] = 990;
  replay.finalRounds[2] = 3;
  replay.clockReads = {4294967290u, 5, 45};  // the clock wraps
  replay.keys = {{3, -32768}, {9, 0}};
  replay.joysticks = {{0, JOYERR_UNPLUGGED, kJoystickCentred}, {7, 0, {1, 65535, 0, 3}}};
  replay.events = {{2, FlowInput::Pause1}, {2, FlowInput::Pause1}, {40, FlowInput::CloseAccepted}};
  replay.answers = {{true, "Ren\xE9"}, {false, ""}};
  const std::vector<std::uint8_t> file = EncodeReplay(replay);
  EXPECT_EQ(DecodeReplay(file), replay);

  // The format byte changed with a good checksum: a file of a later version.
  std::vector<std::uint8_t> later = file;
  later[4] = kReplayFormatVersion + 1;
  later.resize(later.size() - 4);
  const auto crc =
      static_cast<std::uint32_t>(crc32(0, later.data(), static_cast<uInt>(later.size())));
  for (int shift = 0; shift < 32; shift += 8)
    later.push_back(static_cast<std::uint8_t>(crc >> shift));

  const auto cut = [&](std::size_t size) {
    return std::vector<std::uint8_t>(file.begin(), file.begin() + static_cast<long>(size));
  };
  const auto flipped = [&](std::size_t at) {
    std::vector<std::uint8_t> bytes = file;
    bytes[at] ^= 0x10;
    return bytes;
  };
  const struct {
    const char* what;
    std::vector<std::uint8_t> bytes;
    const char* message;
  } rows[] = {
      {"empty", {}, kReplayNotAReplay},
      {"another file", {'P', 'K', 3, 4, 0, 0, 0, 0, 0}, kReplayNotAReplay},
      {"magic only", cut(4), kReplayDamaged},
      {"cut short", cut(file.size() - 1), kReplayDamaged},
      {"body cut", cut(file.size() / 2), kReplayDamaged},
      {"format byte", flipped(4), kReplayDamaged},
      {"inside the body", flipped(file.size() / 2), kReplayDamaged},
      {"checksum", flipped(file.size() - 1), kReplayDamaged},
      {"later version", later, kReplayUnknownVersion},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    try {
      DecodeReplay(row.bytes);
      ADD_FAILURE() << "read";
    } catch (const ReplayFileError& error) {
      EXPECT_STREQ(error.what(), row.message);
    }
  }
}

}  // namespace
}  // namespace kelvarok::sim
