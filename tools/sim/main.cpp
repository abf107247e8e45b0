// kelvarok-sim: runs the game flow headless on a virtual clock.
//   kelvarok-sim [--seed N] [--script FILE] [--settings FILE] [--autopilot]
//                [--until MS] [--trace FILE|-] [--snapshot MS:FILE.png]...
//                [--audio FILE.wav]
//   kelvarok-sim --replay FILE [--verify] [--trace FILE|-] [--audio FILE.wav]
#include <QGuiApplication>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "assets/sprites.h"
#include "game/flow_host.h"
#include "game/replay_file.h"
#include "platform/program_questions.h"
#include "platform/regular_file.h"
#include "qt/runtime/runtime_directory.h"
#include "qt/settings_file/settings_reader.h"
#include "qt/text/qt_text_painter.h"
#include "sim/recorded_sound.h"
#include "sim/simulator.h"
#include "tools/sim/command_line.h"

namespace {

using kelvarok::sim::CommandLine;
using kelvarok::sim::ScriptError;
using kelvarok::sim::ScriptEvent;
using kelvarok::sim::SimOptions;
using kelvarok::sim::Snapshot;

constexpr int kBadUsage = 2;

const char* const kUsage =
    "usage: kelvarok-sim [--seed N] [--script FILE] [--settings FILE] [--autopilot]\n"
    "                    [--until MS] [--trace FILE|-] [--snapshot MS:FILE.png]...\n"
    "                    [--audio FILE.wav]\n"
    "       kelvarok-sim --replay FILE [--verify] [--trace FILE|-] [--audio FILE.wav]\n";

const char* const kHelp =
    "\n"
    "Plays the game flow without a window on a virtual clock, as fast as the CPU\n"
    "allows, and prints the final scores, rounds and high-score table as one\n"
    "JSON object. The same seed and script always give the same trace. Without\n"
    "options nothing starts a game: give a script or --autopilot.\n"
    "\n"
    "  --seed N               seed of the game's random generator (default 0)\n"
    "  --script FILE          timed input events, one a line: MS EVENT ...\n"
    "  --settings FILE        the player's settings from a Kelvarok.conf (only read)\n"
    "  --autopilot            a built-in player starts a one-player game and flies it\n"
    "  --until MS             stop when virtual time reaches MS\n"
    "  --trace FILE|-         every frame and event as JSON Lines (- for standard\n"
    "                         output); a whole game's trace is tens of MB\n"
    "  --snapshot MS:FILE.png save the field as it stands at MS (repeatable)\n"
    "  --audio FILE.wav       the game's sound as the mixer plays it\n"
    "  --replay FILE          play a recorded game (a .kvr file) instead\n"
    "  --verify               with --replay: exit 0 when the game ends with the\n"
    "                         recorded scores and rounds, 1 when it does not\n"
    "  -h, --help             show this help and exit\n"
    "  --version              show the version and exit\n";

int Usage(const std::string& problem) {
  std::cerr << "kelvarok-sim: " << problem << '\n' << kUsage;
  return kBadUsage;
}

// The file's bytes; nothing, said on standard error, when it is refused.
std::optional<std::string> ReadInput(const std::string& path, std::uint64_t maxBytes) {
  auto read = kelvarok::ReadRegularFile(path, maxBytes);
  if (const auto* refusal = std::get_if<kelvarok::FileRefusal>(&read)) {
    std::cerr << "kelvarok-sim: " << kelvarok::CannotReadMessage(path, *refusal) << '\n';
    return std::nullopt;
  }
  return std::move(std::get<std::string>(read));
}

int CannotWrite(const std::string& path) {
  std::cerr << "kelvarok-sim: cannot write '" << path << "'\n";
  return kBadUsage;
}

int LoadScript(const std::string& path, SimOptions& options) {
  if (path.empty()) return 0;
  const std::optional<std::string> text = ReadInput(path, kelvarok::kLargestScriptFile);
  if (!text) return kBadUsage;
  auto parsed = kelvarok::sim::ParseScript(*text);
  if (const auto* error = std::get_if<ScriptError>(&parsed)) {
    std::cerr << "line " << error->line << ": " << error->reason << '\n';
    return kBadUsage;
  }
  options.script = std::move(std::get<std::vector<ScriptEvent>>(parsed));
  return 0;
}

// The settings file is only read, as the desktop program reads it at start;
// values it lacks take their defaults there too.
int LoadReplay(const std::string& path, SimOptions& options) {
  if (path.empty()) return 0;
  const std::optional<std::string> bytes = ReadInput(path, kelvarok::kLargestReplayFile);
  if (!bytes) return kBadUsage;
  try {
    options.replay = kelvarok::DecodeReplay(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()));
  } catch (const kelvarok::ReplayFileError& error) {
    std::cerr << "kelvarok-sim: " << path << ": " << error.what() << '\n';
    return kBadUsage;
  }
  return 0;
}

int LoadSettings(const std::string& path, SimOptions& options) {
  if (path.empty()) return 0;
  if (!ReadInput(path, kelvarok::kLargestTextFile)) return kBadUsage;
  const kelvarok::StoredSettings stored =
      kelvarok::ReadStoredSettings(QString::fromLocal8Bit(path.c_str())).settings;
  options.settings = kelvarok::sim::PlayerSettings{stored.game, stored.HiScores};
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (const auto answered = kelvarok::AnswerProgramQuestion(argc, argv, "kelvarok-sim",
                                                            (std::string(kUsage) + kHelp).c_str()))
    return *answered;
  CommandLine cl;
  if (const auto problem = kelvarok::sim::ParseCommandLine(argc, argv, cl)) return Usage(*problem);
  if (const int status = LoadScript(cl.scriptPath, cl.options); status != 0) return status;
  if (const int status = LoadSettings(cl.settingsPath, cl.options); status != 0) return status;
  if (const int status = LoadReplay(cl.replayPath, cl.options); status != 0) return status;

  std::ofstream traceFile;
  if (cl.tracePath == "-") {
    cl.options.trace = &std::cout;
  } else if (!cl.tracePath.empty()) {
    traceFile.open(cl.tracePath, std::ios::binary | std::ios::trunc);
    if (!traceFile) return CannotWrite(cl.tracePath);
    cl.options.trace = &traceFile;
  }
  // Refused before Qt starts, so that the message stands alone.
  if (!cl.audioPath.empty() && !std::ofstream(cl.audioPath, std::ios::binary | std::ios::trunc))
    return CannotWrite(cl.audioPath);

  // Text needs Qt's font engine; no window is ever shown.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  kelvarok::ProvideRuntimeDirectory();
  QGuiApplication app(argc, argv);
  kelvarok::QtTextPainter fieldText(kelvarok::FieldFont(), kelvarok::kYellow);
  const kelvarok::SpriteSet sprites = kelvarok::LoadSprites();

  const bool traceOnStdout = cl.options.trace == &std::cout;
  kelvarok::sim::Simulator simulator(sprites, fieldText, std::move(cl.options));
  std::optional<kelvarok::sim::RecordedSound> sound;
  if (!cl.audioPath.empty()) {
    sound.emplace(simulator.host().clock(), [](const std::string& message) {
      std::cerr << "kelvarok-sim: sound: " << message << '\n';
    });
    if (!sound->RecordTo(cl.audioPath)) return CannotWrite(cl.audioPath);
    simulator.host().SetSound(*sound);
  }
  std::string final;
  try {
    final = simulator.Run();
  } catch (const kelvarok::ReplayOutOfStep& error) {
    std::cerr << "kelvarok-sim: " << cl.replayPath << ": " << error.what() << '\n';
    return 1;
  }
  if (!traceOnStdout) std::cout << final << '\n';
  if (sound && !sound->Finish()) {
    std::cerr << "kelvarok-sim: cannot write '" << cl.audioPath << "'\n";
    return 1;
  }
  for (const Snapshot& missed : simulator.missedSnapshots())
    std::cerr << "kelvarok-sim: the run ended before the snapshot at " << missed.time << " ms\n";
  std::cout.flush();
  if (cl.verify && !simulator.EndedAsRecorded()) {
    std::cerr << "kelvarok-sim: the game did not end with the recorded scores and rounds\n";
    return 1;
  }
  return std::cout ? 0 : 1;
}
