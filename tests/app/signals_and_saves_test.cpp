// The desktop program as a process: signals at every moment of a game,
// saves that cannot be completed, lock files left behind or forged, demo
// command lines. Drives the real executable, under its own Xvfb where a game
// must be played; every wait is on a condition, with a generous deadline.
#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <QSettings>
#include <memory>

#include "desktop_process.h"

namespace {

using namespace std::chrono_literals;
using namespace kelvarok::desktop_process;

// The program has passed the single-instance guard: it holds the lock.
bool HoldsTheLock(const Home& home) {
  return WaitFor([&] {
    const int fd = ::open(QFile::encodeName(home.Lock()).constData(), O_RDONLY);
    const bool held = fd >= 0 && ::flock(fd, LOCK_SH | LOCK_NB) != 0;
    if (fd >= 0) ::close(fd);
    return held;
  });
}

// A settings file the program must read and write back.
constexpr char kOldSettings[] = "[General]\nSoundVolume=40\nName1=Keeper\nScore1=900\n";

// Every one of the 46 values is there, the old ones among them.
void ExpectCompleteSave(const Home& home) {
  QSettings saved(home.Settings(), QSettings::IniFormat);
  EXPECT_EQ(saved.childKeys().size(), 46);
  EXPECT_EQ(saved.value("SoundVolume").toString(), "40");
  EXPECT_EQ(saved.value("Name1").toString(), "Keeper");
  EXPECT_EQ(saved.value("Name10").toString(), "");
  EXPECT_TRUE(QDir(home.Path("config/Ombrix")).entryList(QDir::Files).size() == 1);
}

enum class Moment { Idle, Playing, Paused, ModalOpen };

// Brings the program, whose main window is up, to the moment under X.
bool Reach(const XServer& x, Moment moment) {
  const auto window = x.FindWindow("^Kelvarok 2.10$");
  if (!window) return false;
  const auto keys = [&](const std::string& k) {
    return x.Xdotool("windowfocus --sync " + *window + " key " + k).has_value();
  };
  switch (moment) {
    case Moment::Idle:
      return true;
    case Moment::Playing:
      return keys("F2") && x.FindWindow("Round 1");
    case Moment::Paused:
      // The help window opens after the pause key has been handled.
      return keys("F2") && x.FindWindow("Round 1") && keys("F4 F1") &&
             x.FindWindow("^Kelvarok Help$");
    case Moment::ModalOpen:
      return keys("alt+o k") && x.FindWindow("^Keyboard Settings$");
  }
  return false;
}

TEST(SignalsAndSaves, EachSignalAtEachMomentClosesOrderlyAndSaves) {
  XServer x;
  if (x.display().empty()) GTEST_SKIP() << "needs Xvfb and xdotool";
  const struct {
    Moment moment;
    int signal;
  } cases[] = {
      {Moment::Idle, SIGINT},      {Moment::Playing, SIGINT},  {Moment::Paused, SIGHUP},
      {Moment::ModalOpen, SIGHUP}, {Moment::Playing, SIGTERM}, {Moment::ModalOpen, SIGTERM},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "moment " << static_cast<int>(c.moment) << ", signal " << c.signal);
    Home home;
    WriteFile(home.Settings(), kOldSettings);
    Program program(home, {{}, &x});
    ASSERT_TRUE(Reach(x, c.moment));
    program.Signal(c.signal);
    EXPECT_EQ(program.WaitForExit(), 0);
    ExpectCompleteSave(home);
  }
}

// A replay's waits keep the window's messages flowing: whether it plays or
// is paused under the help window, a signal ends the program at once, and so
// does Ctrl+Q, which stops the replay the window was opened for.
TEST(SignalsAndSaves, AReplayInTheWindowEndsBySignalOrCtrlQ) {
  XServer x;
  if (x.display().empty()) GTEST_SKIP() << "needs Xvfb and xdotool";
  const std::string replay = std::string(KELVAROK_SOURCE_DIR) + "/tests/replays/bonus_round/1.kvr";
  const struct {
    const char* keys;   // sent once the replay plays
    const char* shows;  // the window that says they were handled
    std::optional<int> signal;
  } cases[] = {
      {nullptr, nullptr, SIGTERM},
      {"F1", "^Kelvarok Help$", SIGINT},  // F1 pauses the replay
      {"ctrl+q", nullptr, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys ? c.keys : "no keys");
    Home home;
    Program program(home, {{"--replay", replay}, &x});
    const auto window = x.FindWindow("Replay");
    ASSERT_TRUE(window.has_value());
    if (c.keys) {
      ASSERT_TRUE(x.Xdotool("windowfocus --sync " + *window + " key " + c.keys));
    }
    if (c.shows) {
      ASSERT_TRUE(x.FindWindow(c.shows));
    }
    if (c.signal) program.Signal(*c.signal);
    EXPECT_EQ(program.WaitForExit(), 0);
    EXPECT_FALSE(QFile::exists(home.Settings()));
  }
}

TEST(SignalsAndSaves, ASignalDuringStartUpWaitsForTheWindowAndSaves) {
  for (const int signal : {SIGINT, SIGHUP, SIGTERM}) {
    SCOPED_TRACE(signal);
    Home home;
    WriteFile(home.Settings(), kOldSettings);
    Program program(home, {});
    ASSERT_TRUE(HoldsTheLock(home));
    program.Signal(signal);
    EXPECT_EQ(program.WaitForExit(), 0);
    ExpectCompleteSave(home);
  }
}

TEST(SignalsAndSaves, ASaveCutShortByAFileSizeLimitKeepsTheOldFileAndExits1) {
  for (const rlim_t limit : {0, 100, 400}) {
    SCOPED_TRACE(limit);
    Home home;
    WriteFile(home.Settings(), kOldSettings);
    Program program(home, {{}, nullptr, limit});
    ASSERT_TRUE(HoldsTheLock(home));
    program.Signal(SIGTERM);
    EXPECT_EQ(program.WaitForExit(), 1);
    EXPECT_EQ(ReadFile(home.Settings()), kOldSettings);
    EXPECT_EQ(QDir(home.Path("config/Ombrix")).entryList(QDir::Files).size(), 1);
    EXPECT_EQ(program.Stderr().count("kelvarok: Failed to set data for 'FormWidth'\n"), 1);
  }
}

TEST(SignalsAndSaves, ASignalAfterAFailedSaveDuringAGameEndsTheProgram) {
  XServer x;
  if (x.display().empty()) GTEST_SKIP() << "needs Xvfb and xdotool";
  Home home;
  WriteFile(home.Settings(), kOldSettings);
  Program program(home, {{}, &x, 100});
  ASSERT_TRUE(Reach(x, Moment::Playing));
  program.Signal(SIGTERM);
  EXPECT_EQ(program.WaitForExit(), 1);
  EXPECT_EQ(ReadFile(home.Settings()), kOldSettings);
}

TEST(SignalsAndSaves, ALockFileThatNamesNoLiveHolderIsTakenOver) {
  const QByteArray forged[] = {
      "",
      "\x01\xff\xfe garbage\n",
      "-1\n",
      "0\n",
      "1\n",  // a live process, but not this program, and it holds no lock
      "2147483647\nkelvarok\nhost\n",
  };
  for (const QByteArray& contents : forged) {
    SCOPED_TRACE(contents.toStdString());
    Home home;
    WriteFile(home.Lock(), contents);
    Program program(home, {});
    ASSERT_TRUE(HoldsTheLock(home));
    // The id follows the lock by a moment.
    const QByteArray pid = QByteArray::number(program.pid()) + "\n";
    EXPECT_TRUE(WaitFor([&] { return ReadFile(home.Lock()) == pid; }))
        << ReadFile(home.Lock()).toStdString();
    program.Signal(SIGTERM);
    EXPECT_EQ(program.WaitForExit(), 0);
  }
}

TEST(SignalsAndSaves, ALiveCopyThatDoesNotAnswerIsReported) {
  Home home;
  WriteFile(home.Lock(), QByteArray::number(::getpid()) + "\n");
  const int held = ::open(QFile::encodeName(home.Lock()).constData(), O_RDWR);
  ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
  Program program(home, {});
  EXPECT_EQ(program.WaitForExit(), 0);
  EXPECT_TRUE(
      program.Stderr().contains(QByteArray("kelvarok: another copy is already running (process ") +
                                QByteArray::number(::getpid()) + ") but does not answer\n"));
  EXPECT_FALSE(QFile::exists(home.Settings()));  // a second copy stores nothing
  ::close(held);
}

TEST(SignalsAndSaves, WithoutARuntimeDirectoryAPrivateOneHoldsTheLockAndNothingIsPrinted) {
  Home home;
  Program program(home, {{}, nullptr, {}, false});
  const QString runtime = home.Path(QString("tmp/runtime-") + ::getpwuid(::getuid())->pw_name);
  ASSERT_TRUE(WaitFor([&] { return QFile::exists(runtime + "/kelvarok.lock"); }));
  struct stat info {};
  ASSERT_EQ(::stat(QFile::encodeName(runtime).constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  program.Signal(SIGTERM);
  EXPECT_EQ(program.WaitForExit(), 0);
  EXPECT_EQ(program.Stderr().toStdString(), "");
}

// What the player saw once: the file stays exactly as it was, whatever the
// run does, and the game says so on standard error and in a message box.
TEST(SignalsAndSaves, AnUnreadableSettingsFileIsReportedOnceAndNeverOverwritten) {
  XServer x;
  if (x.display().empty()) GTEST_SKIP() << "needs Xvfb and xdotool";
  Home home;
  WriteFile(home.Settings(), kOldSettings);
  ASSERT_TRUE(QFile::setPermissions(home.Settings(), {}));
  home.GiveTo(kOrdinaryUser);
  Program program(home, {{}, &x, {}, true, true});
  const auto box = x.FindWindow("^Kelvarok$");
  ASSERT_TRUE(box);
  ASSERT_TRUE(x.Xdotool("windowfocus --sync " + *box + " key Return"));
  ASSERT_TRUE(Reach(x, Moment::Playing));
  program.Signal(SIGTERM);
  EXPECT_EQ(program.WaitForExit(), 0);
  const QString expected = "kelvarok: The settings could not be read from " + home.Settings() +
                           " (Permission denied). The game starts with the default settings and "
                           "will not save them.\n";
  EXPECT_EQ(program.Stderr().toStdString(), expected.toStdString());
  ASSERT_TRUE(QFile::setPermissions(home.Settings(), QFile::ReadOwner));
  EXPECT_EQ(ReadFile(home.Settings()), kOldSettings);
  EXPECT_EQ(QDir(home.Path("config/Ombrix")).entryList(QDir::Files).size(), 1);
}

// The lock belongs to whichever copy holds it: one whose mode was changed
// still keeps a second copy out, and a link in its place is replaced, never
// followed into the file it names.
TEST(SignalsAndSaves, ALockHeldByALiveCopyIsNeverTakenAndLinksAreNotFollowed) {
  Home home;
  home.GiveTo(kOrdinaryUser);
  Program first(home, {{}, nullptr, {}, true, true});
  ASSERT_TRUE(HoldsTheLock(home));
  ASSERT_TRUE(QFile::setPermissions(home.Lock(), {}));
  Program second(home, {{}, nullptr, {}, true, true});
  EXPECT_EQ(second.WaitForExit(), 0);
  EXPECT_TRUE(HoldsTheLock(home));
  struct stat lock {};
  ASSERT_EQ(::stat(QFile::encodeName(home.Lock()).constData(), &lock), 0);
  EXPECT_EQ(lock.st_mode & 0777, 0u);
  first.Signal(SIGTERM);
  EXPECT_EQ(first.WaitForExit(), 0);

  Home linked;
  WriteFile(linked.Path("precious.txt"), "precious\n");
  ASSERT_TRUE(QFile::link(linked.Path("precious.txt"), linked.Lock()));
  Program third(linked, {});
  ASSERT_TRUE(HoldsTheLock(linked));
  EXPECT_FALSE(QFileInfo(linked.Lock()).isSymLink());
  EXPECT_EQ(ReadFile(linked.Path("precious.txt")), "precious\n");
  third.Signal(SIGTERM);
  EXPECT_EQ(third.WaitForExit(), 0);
}

TEST(SignalsAndSaves, ARuntimeDirectoryOfSomeoneElseGivesWayToAPrivateOneNotTheSharedTmp) {
  if (::getuid() != 0) GTEST_SKIP() << "needs root to make a directory of another user";
  Home home;
  const QString foreign = home.Path(QString("tmp/runtime-") + ::getpwuid(::getuid())->pw_name);
  ASSERT_TRUE(QDir().mkpath(foreign));
  ASSERT_EQ(::chown(QFile::encodeName(foreign).constData(), kOrdinaryUser, kOrdinaryUser), 0);
  Program program(home, {{}, nullptr, {}, false});
  const QString own = home.Path("cache/kelvarok-runtime");
  ASSERT_TRUE(WaitFor([&] { return QFile::exists(own + "/kelvarok.lock"); }));
  struct stat info {};
  ASSERT_EQ(::stat(QFile::encodeName(own).constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_FALSE(QFile::exists(home.Path("tmp/kelvarok.lock")));
  EXPECT_FALSE(QFile::exists(foreign + "/kelvarok.lock"));
  program.Signal(SIGTERM);
  EXPECT_EQ(program.WaitForExit(), 0);
}

// A replay that is no real one is refused at once, with a message naming
// it: a FIFO would block, a huge file would fill the memory.
TEST(SignalsAndSaves, AReplayThatIsNotARegularFileOfARealSizeIsRefusedAtOnce) {
  Home home;
  const QString fifo = home.Path("fifo.kvr");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const QString huge = home.Path("data/Ombrix/Kelvarok/replays/1.kvr");
  WriteFile(huge, "KVRP");
  ASSERT_TRUE(QFile::resize(huge, qint64{200} << 20));
  const auto refused = [](const QString& path, const char* reason) {
    return ("kelvarok: cannot read '" + path + "': " + reason + "\n").toStdString();
  };
  for (const QString& path : {fifo, huge}) {
    Program program(home, {{"--replay", path.toStdString()}});
    EXPECT_EQ(program.WaitForExit(), 2);
    EXPECT_EQ(program.Stderr().toStdString(),
              refused(path, path == fifo ? "not a regular file" : "larger than 67108864 bytes"));
  }
  // As the newest game, it is refused as the game starts, which goes on.
  Program program(home, {});
  ASSERT_TRUE(HoldsTheLock(home));
  program.Signal(SIGTERM);
  EXPECT_EQ(program.WaitForExit(), 0);
  EXPECT_EQ(program.Stderr().toStdString(), refused(huge, "larger than 67108864 bytes"));
}
TEST(SignalsAndSaves, EveryDemoCommandLineEndsByItself) {
  const struct {
    std::vector<std::string> arguments;
    int status;
  } cases[] = {
      {{"--demo", "--frames", "10", "--pause-at", "5", "--pause-for", "50"}, 0},
      {{"--demo", "--frames", "10", "--pause-at", "5"}, 0},
      {{"--demo", "--frames", "1", "--screenshot", "/nonexistent/dir/shot.png"}, 1},
  };
  // The three run side by side, each in a home of its own.
  std::vector<std::unique_ptr<Home>> homes;
  std::vector<std::unique_ptr<Program>> programs;
  for (const auto& c : cases) {
    homes.push_back(std::make_unique<Home>());
    programs.push_back(std::make_unique<Program>(*homes.back(), Start{c.arguments}));
  }
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(programs[i]->WaitForExit(), cases[i].status) << cases[i].arguments.back();
}

TEST(OddStarts, NoDisplayOrARefusedSoundDeviceEndWithALineOnStandardError) {
  const std::vector<std::string> noDisplay = {"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM="};
  const struct {
    std::vector<std::string> arguments;
    std::vector<std::string> environment;
    const char* wavemixIni;
    int status;
    const char* line;
  } cases[] = {
      {{}, noDisplay, "", 1, "kelvarok: no display found"},
      {{"--replay", "/nonexistent.kvr"}, noDisplay, "", 1, "kelvarok: no display found"},
      // A display left over from another session, with no server behind it.
      {{},
       {"DISPLAY=:987", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM="},
       "",
       1,
       "kelvarok: cannot open the X display :987"},
      {{"--demo", "--frames", "5"},
       {},
       "[not compatible]\nSDL Default Device=1\n",
       0,
       "kelvarok: SDL Default Device is not compatible"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    Home home;
    if (*c.wavemixIni) WriteFile(home.Path("config/WAVEMIX.INI"), c.wavemixIni);
    Program program(home, {c.arguments, nullptr, {}, true, false, c.environment});
    EXPECT_EQ(program.WaitForExit(), c.status);
    const QByteArray err = program.Stderr();
    EXPECT_TRUE(err.startsWith(c.line)) << err.toStdString();
    EXPECT_EQ(err.count('\n'), 1) << err.toStdString();
  }
}

}  // namespace
