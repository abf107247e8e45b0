// kelvarok-sim: runs the game flow headless on a virtual clock.
//   kelvarok-sim [--seed N] [--script FILE] [--settings FILE] [--autopilot]
//                [--until MS] [--trace FILE|-] [--snapshot MS:FILE.png]...
//                [--audio FILE.wav]
#include <QGuiApplication>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "app/qt_text/qt_text_painter.h"
#include "app/settings_file/settings_reader.h"
#include "assets/sprites.h"
#include "game/flow_host.h"
#include "platform/ini_reader.h"
#include "tools/sim/recorded_sound.h"
#include "tools/sim/simulator.h"

namespace {

using kelvarok::sim::ScriptError;
using kelvarok::sim::ScriptEvent;
using kelvarok::sim::SimOptions;
using kelvarok::sim::Snapshot;

constexpr int kBadUsage = 2;

const char* const kUsage =
    "usage: kelvarok-sim [--seed N] [--script FILE] [--settings FILE] [--autopilot]\n"
    "                    [--until MS] [--trace FILE|-] [--snapshot MS:FILE.png]...\n"
    "                    [--audio FILE.wav]\n";

template <typename T>
bool ParseNumber(std::string_view text, T& value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return !text.empty() && ec == std::errc{} && ptr == end;
}

int Usage(const std::string& problem) {
  std::cerr << "kelvarok-sim: " << problem << '\n' << kUsage;
  return kBadUsage;
}

struct CommandLine {
  SimOptions options;
  std::string scriptPath;
  std::string settingsPath;
  std::string tracePath;
  std::string audioPath;
};

// Returns 0 when the command line is good, else the exit status.
int Parse(int argc, char** argv, CommandLine& cl) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    if (arg == "--autopilot") {
      cl.options.autopilot = true;
      continue;
    }
    if (arg != "--seed" && arg != "--script" && arg != "--settings" && arg != "--until" &&
        arg != "--trace" && arg != "--snapshot" && arg != "--audio")
      return Usage("unknown option '" + std::string(arg) + "'");
    const char* v = value();
    if (v == nullptr) return Usage(std::string(arg) + " needs a value");
    const std::string_view text = v;
    if (arg == "--seed") {
      if (!ParseNumber(text, cl.options.seed)) return Usage("bad seed '" + std::string(text) + "'");
    } else if (arg == "--script") {
      cl.scriptPath = text;
    } else if (arg == "--settings") {
      cl.settingsPath = text;
    } else if (arg == "--until") {
      std::uint32_t until = 0;
      if (!ParseNumber(text, until)) return Usage("bad time '" + std::string(text) + "'");
      cl.options.until = until;
    } else if (arg == "--trace") {
      cl.tracePath = text;
    } else if (arg == "--audio") {
      cl.audioPath = text;
    } else {
      const std::size_t colon = text.find(':');
      Snapshot snapshot;
      if (colon == std::string_view::npos || colon + 1 == text.size() ||
          !ParseNumber(text.substr(0, colon), snapshot.time))
        return Usage("expected --snapshot MS:FILE.png");
      snapshot.path = text.substr(colon + 1);
      cl.options.snapshots.push_back(snapshot);
    }
  }
  return 0;
}

int CannotRead(const std::string& path) {
  std::cerr << "kelvarok-sim: cannot read '" << path << "'\n";
  return kBadUsage;
}

int CannotWrite(const std::string& path) {
  std::cerr << "kelvarok-sim: cannot write '" << path << "'\n";
  return kBadUsage;
}

int LoadScript(const std::string& path, SimOptions& options) {
  if (path.empty()) return 0;
  const std::optional<std::string> text = kelvarok::ReadTextFile(path);
  if (!text) return CannotRead(path);
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
int LoadSettings(const std::string& path, SimOptions& options) {
  if (path.empty()) return 0;
  if (!kelvarok::ReadTextFile(path)) return CannotRead(path);
  const kelvarok::StoredSettings stored =
      kelvarok::ReadStoredSettings(QString::fromLocal8Bit(path.c_str()));
  options.settings = kelvarok::sim::PlayerSettings{stored.game, stored.HiScores};
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CommandLine cl;
  if (const int status = Parse(argc, argv, cl); status != 0) return status;
  if (const int status = LoadScript(cl.scriptPath, cl.options); status != 0) return status;
  if (const int status = LoadSettings(cl.settingsPath, cl.options); status != 0) return status;

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
  const std::string final = simulator.Run();
  if (!traceOnStdout) std::cout << final << '\n';
  if (sound && !sound->Finish()) {
    std::cerr << "kelvarok-sim: cannot write '" << cl.audioPath << "'\n";
    return 1;
  }
  for (const Snapshot& missed : simulator.missedSnapshots())
    std::cerr << "kelvarok-sim: the run ended before the snapshot at " << missed.time << " ms\n";
  std::cout.flush();
  return std::cout ? 0 : 1;
}
