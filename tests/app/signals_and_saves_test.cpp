// The desktop program as a process: signals at every moment of a game,
// saves that cannot be completed, lock files left behind or forged, demo
// command lines. Drives the real executable, under its own Xvfb where a game
// must be played; every wait is on a condition, with a generous deadline.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using namespace std::chrono_literals;

constexpr auto kDeadline = 20s;

template <typename Done>
bool WaitFor(Done done) {
  const auto deadline = std::chrono::steady_clock::now() + kDeadline;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

// A user of their own: settings, runtime and temporary directories.
class Home {
 public:
  Home() {
    QDir(dir_.path()).mkpath("config");
    QDir(dir_.path()).mkpath("tmp");
    QDir(dir_.path()).mkpath("run");
    QFile::setPermissions(Path("run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  QString Path(const QString& name) const { return dir_.filePath(name); }
  QString Settings() const { return Path("config/Ombrix/Kelvarok.conf"); }
  QString Lock() const { return Path("run/kelvarok.lock"); }
  // Hands everything in the home, as it is now, to user.
  void GiveTo(uid_t user) const {
    if (::getuid() != 0) return;
    ::chown(QFile::encodeName(dir_.path()).constData(), user, user);
    for (QDirIterator it(dir_.path(),
                         QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
         it.hasNext();)
      ::lchown(QFile::encodeName(it.next()).constData(), user, user);
  }

 private:
  QTemporaryDir dir_;
};

// An X server for the tests that play: keys reach the game through xdotool.
class XServer {
 public:
  XServer() {
    if (std::system("command -v xdotool >/dev/null") != 0) return;
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return;
    const std::string fd = std::to_string(pipeFds[1]);
    pid_ = ::fork();
    if (pid_ == 0) {
      // -noreset: by default the server resets when its last client leaves,
      // and refuses connections meanwhile; the next program of a test would
      // then find no display.
      ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-noreset", "-screen",
               "0", "1024x768x24", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(pipeFds[1]);
    pollfd ready = {pipeFds[0], POLLIN, 0};
    char text[16] = {};
    if (pid_ > 0 && ::poll(&ready, 1, 10000) == 1 && ::read(pipeFds[0], text, 15) > 0)
      display_ = std::string(":").append(text, std::strcspn(text, "\n"));
    ::close(pipeFds[0]);
  }
  ~XServer() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }
  // Empty when there is no server (or no xdotool to drive it).
  const std::string& display() const { return display_; }

  // Runs xdotool with args; its output, or nothing when it failed.
  std::optional<std::string> Xdotool(const std::string& args) const {
    const std::string command = "DISPLAY=" + display_ + " timeout 20 xdotool " + args;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return std::nullopt;
    std::string out;
    char chunk[256];
    while (std::fgets(chunk, sizeof chunk, pipe)) out += chunk;
    if (::pclose(pipe) != 0) return std::nullopt;
    return out.substr(0, out.find('\n'));
  }

  // The first shown window whose name matches pattern, searched again until
  // one shows: a window is named before it is mapped, and keys sent to it
  // then are lost. A single search can also die on a window that closes
  // while it reads the window's name (a menu that just closed), so one failed
  // search is no answer.
  std::optional<std::string> FindWindow(const std::string& pattern) const {
    std::optional<std::string> found;
    WaitFor([&] {
      return (found = Xdotool("search --onlyvisible --name '" + pattern + "'")).has_value();
    });
    return found;
  }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

struct Start {
  std::vector<std::string> arguments;
  const XServer* x = nullptr;                // nullptr: offscreen
  std::optional<rlim_t> fileSizeLimit = {};  // with SIGXFSZ ignored
  bool runtimeDirectory = true;              // false: XDG_RUNTIME_DIR is empty
  bool ordinaryUser = false;                 // run as kOrdinaryUser when root
};

// An ordinary user for the runs that root would pass unhindered (root reads
// a file of mode 000): "nobody".
constexpr uid_t kOrdinaryUser = 65534;

// The real executable, killed if a test leaves it running.
class Program {
 public:
  Program(const Home& home, const Start& start) {
    std::vector<std::string> env = {
        "XDG_CONFIG_HOME=" + home.Path("config").toStdString(),
        "XDG_RUNTIME_DIR=" + (start.runtimeDirectory ? home.Path("run").toStdString() : ""),
        "TMPDIR=" + home.Path("tmp").toStdString(),
        "SDL_AUDIODRIVER=dummy",
        start.x ? "QT_QPA_PLATFORM=xcb" : "QT_QPA_PLATFORM=offscreen",
        "DISPLAY=" + (start.x ? start.x->display() : std::string()),
        "HOME=" + home.Path("").toStdString(),
        "XDG_CACHE_HOME=" + home.Path("cache").toStdString(),
        "XDG_DATA_HOME=" + home.Path("data").toStdString(),
    };
    const std::size_t ours = env.size();
    for (char** e = environ; *e; ++e) {
      const std::string_view entry(*e);
      const auto overridden = [&](std::size_t i) {
        return entry.substr(0, entry.find('=') + 1) == env[i].substr(0, env[i].find('=') + 1);
      };
      bool keep = true;
      for (std::size_t i = 0; i < ours; ++i) keep = keep && !overridden(i);
      if (keep) env.emplace_back(entry);
    }
    std::vector<std::string> args = {KELVAROK_EXE};
    args.insert(args.end(), start.arguments.begin(), start.arguments.end());
    std::vector<char*> argv, envp;
    for (auto& a : args) argv.push_back(a.data());
    for (auto& e : env) envp.push_back(e.data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    // A pipe, which no file size limit cuts short.
    int err[2];
    if (::pipe(err) != 0) return;
    pid_ = ::fork();
    if (pid_ != 0) {
      ::close(err[1]);
      stderr_ = err[0];
      ::fcntl(stderr_, F_SETFL, O_NONBLOCK);
      return;
    }
    ::dup2(err[1], STDERR_FILENO);
    if (start.ordinaryUser && ::getuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(kOrdinaryUser) != 0 ||
         ::setuid(kOrdinaryUser) != 0))
      ::_exit(126);
    if (start.fileSizeLimit) {
      std::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit = {*start.fileSizeLimit, *start.fileSizeLimit};
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ::execve(argv[0], argv.data(), envp.data());
    ::_exit(127);
  }
  ~Program() {
    if (running_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    ::close(stderr_);
  }
  pid_t pid() const { return pid_; }
  // What the program wrote to standard error so far.
  QByteArray Stderr() const {
    QByteArray text;
    char chunk[4096];
    for (ssize_t got; (got = ::read(stderr_, chunk, sizeof chunk)) > 0;) text.append(chunk, got);
    return text;
  }
  void Signal(int signal) const { ::kill(pid_, signal); }

  // The exit status; nothing when the program still runs at the deadline or
  // died by a signal.
  std::optional<int> WaitForExit() {
    int status = 0;
    if (!WaitFor([&] { return ::waitpid(pid_, &status, WNOHANG) == pid_; })) return std::nullopt;
    running_ = false;
    if (!WIFEXITED(status)) return std::nullopt;
    return WEXITSTATUS(status);
  }

 private:
  pid_t pid_ = -1;
  int stderr_ = -1;
  bool running_ = true;
};

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

}  // namespace
