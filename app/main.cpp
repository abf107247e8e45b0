// kelvarok: the desktop program. See command_line.h for its arguments.
#include <QDateTime>
#include <QMessageBox>
#include <QTimer>
#include <csignal>
#include <cstdio>

#include "app/command_line.h"
#include "app/demo_mode.h"
#include "app/desktop_sound.h"
#include "app/display_check.h"
#include "app/help_window.h"
#include "app/kelvarok_application.h"
#include "app/pad_navigator.h"
#include "app/plugin_warning_filter.h"
#include "app/program_end.h"
#include "app/replay_files.h"
#include "app/replay_store.h"
#include "app/settings_store.h"
#include "app/single_instance.h"
#include "app/termination_signal.h"
#include "app/tform1.h"
#include "app/virtual_controller_player.h"
#include "assets/sprites.h"
#include "kelvarok_version.h"
#include "platform/program_questions.h"
#include "qt/runtime/runtime_directory.h"
#include "sdl/sdl_joysticks.h"

using namespace kelvarok;

namespace {

int RunDemo(const DemoOptions& demo, const SpriteSet& sprites) {
  TForm1Options options;
  options.seed = demo.seed.value_or(1);
  options.followFocus = false;
  options.askNames = false;
  options.helpFile = HelpFilePath();
  // The demo runs unattended: a box would wait for ever.
  DesktopSound sound(DesktopSound::Failures::OnStandardError);
  options.sounds = &sound.sounds();
  bool recordWritten = true;
  if (!demo.record.isEmpty()) {
    options.gameRecorded = [&](const Replay& replay, const HiScoreTable&) {
      recordWritten = WriteReplayFile(demo.record, replay);
      if (!recordWritten)
        std::fprintf(stderr, "kelvarok: cannot write %s\n", qPrintable(demo.record));
    };
  }
  TForm1 window(sprites, options);
  // The demo does not follow the focus: its sound plays from the start.
  sound.sounds().SetActivated(true);
  DemoMode mode(window, demo);
  CloseOnTermination([&window] { window.CloseOnSignal(); });
  window.show();
  mode.Start();
  const int status = QApplication::exec();
  if (status != 0) return status;
  return recordWritten ? mode.ExitStatus() : 1;
}

// Plays a recorded game in a window of its own and ends with it; nothing is
// read from or written to the player's settings, table or replays.
int RunReplay(const QString& path, const SpriteSet& sprites) {
  auto read = ReadReplayFile(path);
  if (const auto* problem = std::get_if<QString>(&read)) {
    std::fprintf(stderr, "kelvarok: %s\n", qPrintable(*problem));
    return 2;
  }
  TForm1Options options;
  options.helpFile = HelpFilePath();
  DesktopSound sound;
  options.sounds = &sound.sounds();
  // A controller pauses and stops the replay; it flies nothing here.
  SdlJoysticks controllers;
  TForm1 window(sprites, options);
  PadNavigator navigator(window, controllers);
  CloseOnTermination([&window] { window.CloseOnSignal(); });
  window.show();
  int status = 0;
  QTimer::singleShot(0, &window, [&] {
    try {
      window.WatchReplay(std::get<Replay>(read));
    } catch (const ReplayOutOfStep& error) {
      std::fprintf(stderr, "kelvarok: %s: %s\n", qPrintable(path), error.what());
      QMessageBox::critical(&window, QApplication::applicationName(), error.what());
      status = 1;
    }
    window.close();
  });
  const int loop = QApplication::exec();
  return loop != 0 ? loop : status;
}

// The running copy holds the lock but did not take the message: it may hang.
void ReportUnreachableCopy(const SingleInstance& guard) {
  const auto pid = guard.RunningCopyPid();
  const QString who = pid ? QString(" (process %1)").arg(*pid) : QString();
  std::fprintf(stderr, "kelvarok: another copy is already running%s but does not answer\n",
               qPrintable(who));
}

// Said once at start: the file is left as it is, and the game goes on with
// the defaults.
void ReportUnreadableSettings(QWidget& window, const QString& path, const std::string& problem) {
  const QString text =
      QString(
          "The settings could not be read from %1 (%2). The game starts with the default "
          "settings and will not save them.")
          .arg(path, QString::fromLocal8Bit(problem.c_str()));
  std::fprintf(stderr, "kelvarok: %s\n", qPrintable(text));
  QTimer::singleShot(0, &window, [&window, text] {
    QMessageBox::warning(&window, QApplication::applicationName(), text);
  });
}

int RunGame(const QString& executable, const SpriteSet& sprites) {
  // The lock follows the program file's name, the search the fixed title.
  SingleInstance guard(InstanceDirectory(), TitleFromExecutable(executable), "Kelvarok");
  if (guard.PreviousInstance()) {
    if (!guard.RaiseRunningCopy(StartupActivationToken())) ReportUnreachableCopy(guard);
    return 0;  // nothing stored
  }
  const SettingsStore store(SettingsStore::UserFilePath());
  const std::optional<std::string> settingsProblem = store.ReadProblem();
  ReplayStore replays(ReplayStore::DefaultFolder());
  TForm1Options options;
  options.store = &store;
  const auto readReplay = [](const std::optional<QString>& path) -> std::optional<Replay> {
    if (!path) return std::nullopt;
    auto read = ReadReplayFile(*path);
    if (auto* replay = std::get_if<Replay>(&read)) return std::move(*replay);
    std::fprintf(stderr, "kelvarok: %s\n", qPrintable(std::get<QString>(read)));
    return std::nullopt;
  };
  options.lastGame = readReplay(replays.Last());
  options.replayOf = [&](const THiScore& entry) { return readReplay(replays.Find(entry)); };
  options.gameRecorded = [&](const Replay& replay, const HiScoreTable& after) {
    if (!replays.Keep(ReplayFileBytes(replay), replay.hiscores, after))
      std::fprintf(stderr, "kelvarok: cannot keep the game's replay in %s\n",
                   qPrintable(ReplayStore::DefaultFolder()));
  };
  options.seed = static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch());
  options.helpFile = HelpFilePath();
  SdlJoysticks joysticks;
  options.joysticks = &joysticks;
  options.controllerConnected = [&joysticks] { return joysticks.ControllerConnected(); };
  DesktopSound sound;
  options.sounds = &sound.sounds();
  TForm1 window(sprites, options);
  PadNavigator navigator(window, joysticks);
  guard.OnRaiseRequest([&window](const QString& token) { window.BringToFront(token); });
  CloseOnTermination([&window] { window.CloseOnSignal(); });
  window.show();
  if (settingsProblem) ReportUnreadableSettings(window, store.path(), *settingsProblem);
  return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
  HoldTerminationSignals();
  // A file size limit makes a write fail, which the save reports, instead of
  // killing the program.
  std::signal(SIGXFSZ, SIG_IGN);
  // --help and --version are answered before the application exists, so
  // that they need no display; the rest is read once Qt has taken its own
  // options (-platform, -display, ...).
  QStringList raw;
  for (int i = 1; i < argc; ++i) raw << QString::fromLocal8Bit(argv[i]);
  const auto early = ParseCommandLine(raw);
  if (const auto* question = std::get_if<CommandLine>(&early)) {
    if (question->request == CommandLine::Request::Help) {
      std::printf("%s\n%s%s", kUsage, kHelp, kEndOfOptionsHelp);
      return 0;
    }
    if (question->request == CommandLine::Request::Version) {
      std::printf("kelvarok %s\n", kProgramVersion);
      return 0;
    }
  }
  if (const auto missing = MissingDisplay(raw)) {
    std::fputs(missing->c_str(), stderr);
    return 1;
  }
  ProvideRuntimeDirectory();
  FilterPluginWarnings();
  KelvarokApplication app(argc, argv);
  const auto parsed = ParseCommandLine(QApplication::arguments().mid(1));
  if (const auto* error = std::get_if<CommandLineError>(&parsed)) {
    std::fprintf(stderr, "kelvarok: %s\n%s", qPrintable(error->message), kUsage);
    return 2;
  }
  const CommandLine& line = std::get<CommandLine>(parsed);
  std::unique_ptr<VirtualControllerPlayer> pad;
  if (!line.virtualController.isEmpty()) {
    auto started = VirtualControllerPlayer::Start(line.virtualController);
    if (const auto* problem = std::get_if<QString>(&started)) {
      std::fprintf(stderr, "kelvarok: %s\n", qPrintable(*problem));
      return 2;
    }
    pad = std::move(std::get<std::unique_ptr<VirtualControllerPlayer>>(started));
  }
  const SpriteSet sprites = LoadSprites();
  if (line.demo) return EndProgram(RunDemo(*line.demo, sprites));
  if (!line.replay.isEmpty()) return EndProgram(RunReplay(line.replay, sprites));
  return EndProgram(RunGame(QString::fromLocal8Bit(argv[0]), sprites));
}
