// Recorded games: the file keeps them exactly and refuses what it did not
// write; a game recorded in a run plays back to the same frames as that run
// showed, whatever game came before it in the session; a recording of another
// game is found out, and no recording, however forged, keeps a playback
// waiting.
#include <gtest/gtest.h>

#include <zlib.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <variant>

#include "game/replay_file.h"
#include "game/rules_revision.h"
#include "sim/simulator.h"
#include "tests/game/flow_test_support.h"

namespace kelvarok::sim {
namespace {

const SpriteSet& Sprites() {
  static const SpriteSet sprites = testing::MakeTestSprites();
  return sprites;
}

std::vector<ScriptEvent> Events(const std::string& text) {
  auto parsed = ParseScript(text);
  EXPECT_TRUE(std::holds_alternative<std::vector<ScriptEvent>>(parsed)) << text;
  return std::get<std::vector<ScriptEvent>>(parsed);
}

// The frame lines of a trace without their time: what a replay must show.
std::vector<std::string> Frames(const std::string& trace) {
  std::vector<std::string> frames;
  std::istringstream in(trace);
  for (std::string line; std::getline(in, line);) {
    if (line.find("\"phase\"") == std::string::npos) continue;
    frames.push_back(line.substr(line.find(',')));
  }
  return frames;
}

bool TimesNeverDecrease(const std::string& trace) {
  std::istringstream in(trace);
  long last = 0;
  for (std::string line; std::getline(in, line);) {
    const long t = std::stol(line.substr(line.find("\"t\":") + 4));
    if (t < last) return false;
    last = t;
  }
  return true;
}

struct Session {
  std::vector<Replay> games;
  std::vector<std::vector<std::string>> frames;  // each game's frame lines
};

// Runs the script with --record-games, the file's round trip included, and
// cuts the live trace into its games. change runs after every frame and may
// alter the settings, as the Options dialog does during a game.
Session Record(const std::string& script, std::uint64_t seed,
               std::optional<PlayerSettings> settings = std::nullopt,
               const std::function<void(std::uint64_t, GameSettings&)>& change = {}) {
  testing::FixedTextPainter text;
  std::ostringstream trace;
  Session session;
  std::vector<std::size_t> cuts;
  SimOptions options;
  options.seed = seed;
  options.script = Events(script);
  options.settings = std::move(settings);
  options.trace = &trace;
  Simulator* running = nullptr;
  options.gameRecorded = [&](Replay replay) {
    const std::vector<std::uint8_t> file = EncodeReplay(replay);
    session.games.push_back(DecodeReplay(file));
    EXPECT_EQ(EncodeReplay(session.games.back()), file);
    cuts.push_back(Frames(trace.str()).size());
  };
  Simulator sim(Sprites(), text, std::move(options));
  running = &sim;
  if (change) sim.onFrame = [&](FramePhase) { change(running->framesPlayed(), sim.settings()); };
  sim.Run();
  const std::vector<std::string> all = Frames(trace.str());
  std::size_t from = 0;
  for (const std::size_t cut : cuts) {
    session.frames.emplace_back(all.begin() + static_cast<long>(from),
                                all.begin() + static_cast<long>(cut));
    from = cut;
  }
  return session;
}

struct Playback {
  std::string trace;
  bool finished = false;
};

Playback Play(const Replay& replay) {
  testing::FixedTextPainter text;
  std::ostringstream trace;
  SimOptions options;
  options.replay = replay;
  options.trace = &trace;
  // Far beyond any game here: a playback that got there would have hung.
  options.until = 20'000'000;
  Simulator sim(Sprites(), text, std::move(options));
  sim.Run();
  return {trace.str(), sim.ReplayFinished()};
}

PlayerSettings SharedKeySettings() {
  PlayerSettings settings;
  settings.game.ThrustKey = settings.game.FireKey;  // Ctrl fires and thrusts
  return settings;
}

TEST(ReplayTest, RecordedGamesPlayBackFrameForFrame) {
  const std::string fireThenJump =
      "0 menu N1Playerstart1\n3000 key 17 down\n3100 key 17 up\n3500 key 32 down\n"
      "3600 key 32 up\n3700 menu Quitgame1\n";
  const struct {
    const char* what;
    std::string script;
    std::uint64_t seed;
    std::size_t games;
    std::optional<PlayerSettings> settings = std::nullopt;
    std::function<void(std::uint64_t, GameSettings&)> change = {};
  } rows[] = {
      {"a game after a quit in the middle of a jump", fireThenJump + "8000 menu N1Playerstart1\n",
       1, 2},
      {"fire held into the next game",
       fireThenJump + "7900 key 17 down\n8000 menu N1Playerstart1\n20000 key 17 up\n", 1, 2},
      {"pauses and focus changes",
       "0 menu N1Playerstart1\n3000 menu Pause1\n4000 focus lost\n5000 menu Pause1\n"
       "9000 focus gained\n9000 menu Pause1\n9500 menu Pause1\n80000 menu Pause1\n"
       "150000 menu Pause1\n",
       8, 1},
      {"two players and a name prompt",
       "0 menu N2Playerstart1\n0 name Alice\n0 name Bob\n0 key 13 down\n2000 key 17 down\n"
       "2050 key 17 up\n",
       1, 1},
      {"one key for two actions", "0 menu N1Playerstart1\n2500 key 17 down\n9000 key 17 up\n", 3, 1,
       SharedKeySettings()},
      {"a joystick chosen in the middle of a game", "0 menu N1Playerstart1\n0 joy 0 0 32768 1\n", 4,
       1, PlayerSettings{},
       [](std::uint64_t frames, GameSettings& settings) {
         if (frames == 100) settings.JoyStick1 = 1;
       }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const Session session = Record(row.script, row.seed, row.settings, row.change);
    ASSERT_EQ(session.games.size(), row.games);
    for (std::size_t game = 0; game < session.games.size(); ++game) {
      SCOPED_TRACE(game + 1);
      const Playback playback = Play(session.games[game]);
      EXPECT_TRUE(playback.finished);
      EXPECT_EQ(Frames(playback.trace), session.frames[game]);
      EXPECT_TRUE(TimesNeverDecrease(playback.trace));
    }
  }
}

TEST(ReplayTest, ARecordingOfAnotherGameStopsWithinAFrameOrTwoSeconds) {
  std::ifstream script(std::string(KELVAROK_SOURCE_DIR) + "/tests/traces/hiscore_entry.txt");
  std::stringstream text;
  text << script.rdbuf();
  const Replay original = Record(text.str(), 5).games.at(0);
  ASSERT_GT(original.frames, 500u);
  ASSERT_FALSE(original.answers.empty());
  const auto forged = [&](const std::function<void(Replay&)>& forge) {
    Replay replay = original;
    forge(replay);
    return replay;
  };
  const struct {
    const char* what;
    Replay replay;
    std::uint32_t latestFrame;  // where the playback must have stopped
  } rows[] = {
      {"another random state", forged([](Replay& r) { r.randomState ^= 1; }), kCheckpointFrames},
      {"other controls", forged([](Replay& r) {
         r.controls = {{1, 16}};
       }),
       kCheckpointFrames},
      {"the data ends early", forged([](Replay& r) {
         r.frames = 300;
         r.checkpoints.resize(CheckpointsIn(300));
       }),
       300},
      {"a pause never lifted", forged([](Replay& r) {
         r.events.insert(r.events.begin(), {20, FlowInput::Pause1});
       }),
       20},
      {"a pause never lifted, with the table shown in it", forged([](Replay& r) {
         r.events.insert(r.events.begin(), {{20, FlowInput::Pause1}, {21, FlowInput::Highscores1}});
       }),
       20},
      {"one frame more", forged([](Replay& r) { r.frames += 1; }), original.frames + 1},
      {"another name typed", forged([](Replay& r) { r.answers[0].text = "Eve"; }), original.frames},
      {"a name prompt missing", forged([](Replay& r) { r.answers.clear(); }), original.frames},
      {"another table before the game", forged([](Replay& r) {
         r.hiscores[1] = {99999, 9, "Old"};
       }),
       original.frames},
      {"a command never delivered", forged([](Replay& r) {
         r.events.push_back({4'000'000'000u, FlowInput::Pause1});
       }),
       original.frames},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    try {
      Play(row.replay);
      ADD_FAILURE() << "played through";
    } catch (const ReplayOutOfStep& error) {
      EXPECT_LE(error.frame(), row.latestFrame);
      EXPECT_STREQ(error.what(), "The replay does not match this version of the game.");
    }
  }
}

// tests/replays keeps recordings of real sessions with their final hashes:
// a change that makes any of them another game must raise kRulesRevision
// and remake them (tests/replays/remake.sh).
TEST(ReplayTest, TheKeptRecordingsStillPlayTheirGames) {
  const std::string folder = std::string(KELVAROK_SOURCE_DIR) + "/tests/replays/";
  std::ifstream expected(folder + "expected.txt");
  int files = 0;
  for (std::string name, hash; expected >> name >> hash; ++files) {
    SCOPED_TRACE(name);
    std::ifstream file(folder + name, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                          std::istreambuf_iterator<char>()};
    const Replay replay = DecodeReplay(bytes);
    EXPECT_EQ(replay.finalHash, std::stoull(hash, nullptr, 16));
    try {
      EXPECT_TRUE(Play(replay).finished);
    } catch (const ReplayOutOfStep& error) {
      ADD_FAILURE() << "out of step at frame " << error.frame();
    }
  }
  EXPECT_GE(files, 7);
}

TEST(ReplayTest, PlaybackEndsQuietlyAtTheStopTime) {
  const Session session = Record("0 menu N1Playerstart1\n", 2);
  testing::FixedTextPainter text;
  SimOptions options;
  options.replay = session.games.at(0);
  options.until = 5000;
  Simulator sim(Sprites(), text, std::move(options));
  sim.Run();
  EXPECT_FALSE(sim.ReplayFinished());
  EXPECT_EQ(sim.host().now(), 5000u);
}

std::vector<std::uint8_t> WithCrc(std::vector<std::uint8_t> bytes) {
  const auto crc =
      static_cast<std::uint32_t>(crc32(0, bytes.data(), static_cast<uInt>(bytes.size())));
  for (int shift = 0; shift < 32; shift += 8)
    bytes.push_back(static_cast<std::uint8_t>(crc >> shift));
  return bytes;
}

TEST(ReplayFileTest, OnlyAWholeFileOfThisFormatAndRulesIsRead) {
  Replay replay;
  replay.rulesRevision = kRulesRevision;
  replay.programVersion = "2.10";
  replay.players = 2;
  replay.randomState = 0xFEDCBA9876543210ull;
  replay.settings.CrashSounds = false;
  replay.settings.SoundVolume = 7;
  replay.hiscores[1] = {5230, 4, "Ren\xE9"};
  replay.fireLatch = false;
  replay.controls = {{1, 1}, {2, 0}, {90, 31}};
  replay.events = {{2, FlowInput::Pause1}, {2, FlowInput::Pause1}, {40, FlowInput::CloseAccepted}};
  replay.answers = {{true, std::string(30, 'x')}, {false, ""}};
  replay.frames = 101;
  replay.checkpoints = {0xFFFFFFFFu, 7};
  replay.finalHash = 0x8000000000000001ull;
  const std::vector<std::uint8_t> file = EncodeReplay(replay);
  EXPECT_EQ(DecodeReplay(file), replay);

  const auto cut = [&](std::size_t size) {
    return std::vector<std::uint8_t>(file.begin(), file.begin() + static_cast<long>(size));
  };
  const auto flipped = [&](std::size_t at) {
    std::vector<std::uint8_t> bytes = file;
    bytes[at] ^= 0x10;
    return bytes;
  };
  // The header rewritten with a good checksum.
  const auto header = [&](std::uint8_t format, std::uint8_t revision) {
    std::vector<std::uint8_t> bytes = cut(file.size() - 4);
    bytes[4] = format;
    bytes[5] = revision;
    return WithCrc(bytes);
  };
  const std::string otherRules = OtherRulesMessage(kRulesRevision + 1);
  const struct {
    const char* what;
    std::vector<std::uint8_t> bytes;
    std::string message;
  } rows[] = {
      {"empty", {}, kReplayNotAReplay},
      {"another file", {'P', 'K', 3, 4, 0, 0, 0, 0, 0}, kReplayNotAReplay},
      {"magic only", cut(4), kReplayDamaged},
      {"cut short", cut(file.size() - 1), kReplayDamaged},
      {"body cut", cut(file.size() / 2), kReplayDamaged},
      {"format byte", flipped(4), kReplayDamaged},
      {"inside the body", flipped(file.size() / 2), kReplayDamaged},
      {"checksum", flipped(file.size() - 1), kReplayDamaged},
      {"the first format", header(1, kRulesRevision), kReplayUnknownVersion},
      {"a later format", header(kReplayFormatVersion + 1, kRulesRevision), kReplayUnknownVersion},
      {"other rules", header(kReplayFormatVersion, kRulesRevision + 1), otherRules},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    try {
      DecodeReplay(row.bytes);
      ADD_FAILURE() << "read";
    } catch (const ReplayFileError& error) {
      EXPECT_EQ(error.what(), row.message);
    }
  }
}

}  // namespace
}  // namespace kelvarok::sim
