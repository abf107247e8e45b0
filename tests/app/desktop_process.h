// The desktop program as a process for the tests that run it: a home of its
// own, an X server (with a window manager where asked) driven by xdotool,
// and waits on conditions with a generous deadline.
#pragma once

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

extern char** environ;

namespace kelvarok::desktop_process {

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
// With a window manager, openbox frames the windows (with every button it
// has, whatever the windows ask for). A held key repeats as usual: 25 times
// a second from 660 ms on (a quicker start repeats the keys xdotool taps on
// a busy machine).
class XServer {
 public:
  enum class Manager { None, Openbox };
  explicit XServer(Manager manager = Manager::None) {
    if (std::system("command -v xdotool >/dev/null") != 0) return;
    if (manager == Manager::Openbox && std::system("command -v openbox >/dev/null") != 0) return;
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
    if (manager == Manager::Openbox && !display_.empty()) StartOpenbox();
  }
  ~XServer() {
    for (const pid_t pid : {managerPid_, pid_}) {
      if (pid <= 0) continue;
      ::kill(pid, SIGTERM);
      ::waitpid(pid, nullptr, 0);
    }
  }
  // Empty when there is no server (or no xdotool to drive it).
  const std::string& display() const { return display_; }

  // Runs xdotool with args; its output, or nothing when it failed.
  std::optional<std::string> Xdotool(const std::string& args) const {
    return Run("xdotool " + args);
  }
  // Runs an X client (program and arguments) on this display; the first
  // line of its output, or nothing when it failed.
  std::optional<std::string> Run(const std::string& client) const {
    const std::string command = "DISPLAY=" + display_ + " timeout 20 " + client;
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
    WaitFor([&] { return (found = ShownWindow(pattern)).has_value(); });
    return found;
  }
  // One search: the window shown now whose name matches pattern.
  std::optional<std::string> ShownWindow(const std::string& pattern) const {
    return Xdotool("search --onlyvisible --name '" + pattern + "'");
  }
  // Waits until no window shown has a name matching pattern.
  bool Gone(const std::string& pattern) const {
    return WaitFor([&] { return !ShownWindow(pattern); });
  }

 private:
  // Openbox runs its start-up command once it manages the screen; until
  // then the display counts as absent.
  void StartOpenbox() {
    const std::string ready = dir_.filePath("openbox-ready").toStdString();
    managerPid_ = ::fork();
    if (managerPid_ == 0) {
      ::setenv("DISPLAY", display_.c_str(), 1);
      ::setenv("HOME", dir_.path().toLocal8Bit().constData(), 1);
      const std::string startup = "touch " + ready;
      ::execlp("openbox", "openbox", "--startup", startup.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    if (managerPid_ < 0 || !WaitFor([&] { return QFile::exists(QString::fromStdString(ready)); }))
      display_.clear();
  }

  QTemporaryDir dir_;
  pid_t pid_ = -1;
  pid_t managerPid_ = -1;
  std::string display_;
};

struct Start {
  std::vector<std::string> arguments;
  const XServer* x = nullptr;                // nullptr: offscreen
  std::optional<rlim_t> fileSizeLimit = {};  // with SIGXFSZ ignored
  bool runtimeDirectory = true;              // false: XDG_RUNTIME_DIR is empty
  bool ordinaryUser = false;                 // run as kOrdinaryUser when root
  // NAME=value entries before the program's own (an empty value hides an
  // inherited variable).
  std::vector<std::string> environment = {};
};

// An ordinary user for the runs that root would pass unhindered (root reads
// a file of mode 000): "nobody".
constexpr uid_t kOrdinaryUser = 65534;

// The real executable, killed if a test leaves it running.
class Program {
 public:
  Program(const Home& home, const Start& start) {
    std::vector<std::string> env = start.environment;
    const std::vector<std::string> defaults = {
        "HOME=" + home.Path("").toStdString(),
        "XDG_CACHE_HOME=" + home.Path("cache").toStdString(),
        "XDG_DATA_HOME=" + home.Path("data").toStdString(),
        "XDG_CONFIG_HOME=" + home.Path("config").toStdString(),
        "XDG_RUNTIME_DIR=" + (start.runtimeDirectory ? home.Path("run").toStdString() : ""),
        "TMPDIR=" + home.Path("tmp").toStdString(),
        "SDL_AUDIODRIVER=dummy",
        start.x ? "QT_QPA_PLATFORM=xcb" : "QT_QPA_PLATFORM=offscreen",
        "DISPLAY=" + (start.x ? start.x->display() : std::string()),
    };
    // The first entry of a name counts.
    const auto add = [&env](std::string_view entry) {
      const std::string_view name = entry.substr(0, entry.find('=') + 1);
      for (const std::string& e : env)
        if (std::string_view(e).substr(0, e.find('=') + 1) == name) return;
      env.emplace_back(entry);
    };
    for (const std::string& entry : defaults) add(entry);
    for (char** e = environ; *e; ++e) add(*e);
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
    if (start.fileSizeLimit) {
      std::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit = {*start.fileSizeLimit, *start.fileSizeLimit};
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (start.ordinaryUser && ::getuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(kOrdinaryUser) != 0 ||
         ::setuid(kOrdinaryUser) != 0))
      ::_exit(126);
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

}  // namespace kelvarok::desktop_process
