// A game controller for the tests that run the real program: the program is
// started with --virtual-controller on a script file that the test appends
// to as it goes (a press, a hold, a stick moved), and a session of the
// program under Xvfb and openbox to go with it.
#pragma once

#include <xcb/xcb.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <memory>
#include <string>
#include <vector>

#include "desktop_process.h"

namespace kelvarok::virtual_pad {

using desktop_process::Home;
using desktop_process::Program;
using desktop_process::WaitFor;
using desktop_process::XServer;

// The script file. Every line it appends acts at once, or, after a hold,
// once the hold's release has been played: its times are all 0 or "+MS".
class VirtualPad {
 public:
  explicit VirtualPad(const Home& home) : path_(home.Path("pad.txt")) {
    Append("# the test's controller: lines are appended as the test goes\n");
  }
  const QString& path() const { return path_; }
  std::vector<std::string> Arguments() const {
    return {"--virtual-controller", path_.toStdString()};
  }

  // A press and its release, as two events of one moment.
  void Press(const std::string& button) {
    Append("0 button " + button + " down\n+0 button " + button + " up\n");
  }
  // Held for ms milliseconds.
  void Hold(const std::string& button, int ms) {
    Append("0 button " + button + " down\n+" + std::to_string(ms) + " button " + button + " up\n");
  }
  // Pressed count times, each time held ms milliseconds and then let go as
  // long, as a player taps fire.
  void Taps(const std::string& button, int count, int ms) {
    const std::string held = "+" + std::to_string(ms) + " button " + button;
    std::string lines = "0 button " + button + " down\n" + held + " up\n";
    for (int tap = 1; tap < count; ++tap) lines += held + " down\n" + held + " up\n";
    Append(lines);
  }
  // value -32768..32767; lefty -32768 is the left stick pushed forward.
  void Axis(const std::string& axis, int value) {
    Append("0 axis " + axis + " " + std::to_string(value) + "\n");
  }
  void Unplug() { Append("0 unplug\n"); }
  void Plug() { Append("0 plug\n"); }

  // Whether the program has read every line appended so far (it plays the
  // lines due as it reads them): its descriptor of the file stands at the
  // file's end.
  bool AllRead(const Program& program) const {
    const QString fds = QString("/proc/%1/fd").arg(program.pid());
    const QString script = QFileInfo(path_).canonicalFilePath();
    for (const QString& fd : QDir(fds).entryList(QDir::Files | QDir::System)) {
      if (QFileInfo(fds + "/" + fd).symLinkTarget() != script) continue;
      QFile info(QString("/proc/%1/fdinfo/%2").arg(program.pid()).arg(fd));
      if (!info.open(QIODevice::ReadOnly)) return false;
      const QByteArray pos = info.readLine();  // "pos:\t123"
      return pos.startsWith("pos:") && pos.mid(4).trimmed().toLongLong() == QFileInfo(path_).size();
    }
    return false;
  }

 private:
  void Append(const std::string& lines) {
    QFile file(path_);
    ASSERT_TRUE(file.open(QIODevice::Append));
    ASSERT_EQ(file.write(lines.data(), static_cast<qint64>(lines.size())),
              static_cast<qint64>(lines.size()));
  }

  QString path_;
};

// The pixels of a window as the X server holds them, to see it repainted.
class WindowPictures {
 public:
  explicit WindowPictures(const XServer& x)
      : connection_(xcb_connect(x.display().c_str(), nullptr), xcb_disconnect) {}

  // Empty when the window cannot be read.
  std::string Take(const std::string& window) const {
    const auto id = static_cast<xcb_window_t>(std::stoul(window));
    xcb_connection_t* c = connection_.get();
    const std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> geometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, id), nullptr), std::free);
    if (!geometry) return {};
    const std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> image(
        xcb_get_image_reply(c,
                            xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, id, 0, 0, geometry->width,
                                          geometry->height, ~0u),
                            nullptr),
        std::free);
    if (!image) return {};
    return std::string(reinterpret_cast<const char*>(xcb_get_image_data(image.get())),
                       static_cast<std::size_t>(xcb_get_image_data_length(image.get())));
  }

  // Waits until the window has shown `count` new pictures, one after the
  // other, from now on. Each is a repaint after the one before, so with
  // count >= 2 a game running in the window has begun a frame, and read its
  // controls, after this call began.
  bool WaitForRepaints(const std::string& window, int count) const {
    std::string last = Take(window);
    for (int seen = 0; seen < count; ++seen) {
      if (!WaitFor([&] {
            const std::string now = Take(window);
            if (now.empty() || now == last) return false;
            last = now;
            return true;
          }))
        return false;
    }
    return true;
  }

 private:
  std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection_;
};

// The program under openbox in a home of its own, with a virtual pad, its
// main window shown. settings: the settings file's text to start with;
// arguments: the program's other arguments (--replay FILE, ...).
class PadSession {
 public:
  PadSession(const XServer& x, const QByteArray& settings = {},
             const std::vector<std::string>& arguments = {})
      : x_(x), pad_(home_), program_(Start(settings, arguments)) {
    if (auto found = x.FindWindow("^Kelvarok 2.10( - |$)")) window_ = *found;
  }
  VirtualPad& pad() { return pad_; }
  const Program& program() const { return program_; }
  const Home& home() const { return home_; }
  const std::string& window() const { return window_; }

  // Keys to the main window.
  bool Keys(const std::string& keys) const {
    return x_.Xdotool("windowfocus --sync " + window_ + " key --delay 30 " + keys).has_value();
  }
  // Waits until the program has read (and played what is due of) every line
  // appended so far.
  bool PadRead() const {
    return WaitFor([&] { return pad_.AllRead(program_); });
  }
  // Waits until the main window's caption is text.
  bool CaptionIs(const std::string& text) const {
    return WaitFor([&] { return x_.Xdotool("getwindowname " + window_) == text; });
  }
  // Waits for the program to end by itself: its exit status.
  std::optional<int> WaitForExit() { return program_.WaitForExit(); }
  // Ends the program as a logout does; its settings are then on disk.
  bool Close() {
    program_.Signal(SIGTERM);
    return program_.WaitForExit() == 0;
  }

 private:
  Program Start(const QByteArray& settings, std::vector<std::string> arguments) {
    if (!settings.isEmpty()) desktop_process::WriteFile(home_.Settings(), settings);
    const std::vector<std::string> pad = pad_.Arguments();
    arguments.insert(arguments.end(), pad.begin(), pad.end());
    return Program(home_, {arguments, &x_});
  }

  const XServer& x_;
  Home home_;
  VirtualPad pad_;
  Program program_;
  std::string window_;
};

}  // namespace kelvarok::virtual_pad
