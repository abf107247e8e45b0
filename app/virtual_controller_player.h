// Plays the script of kelvarok --virtual-controller on the real steady clock:
// the lines the file holds at start, and those appended while the program
// runs, each at its time or at once when its time has passed.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <deque>
#include <memory>
#include <variant>

#include "platform/appended_lines.h"
#include "sdl/controller_script.h"
#include "sdl/virtual_controller.h"

namespace kelvarok {

class VirtualControllerPlayer final : public QObject {
  Q_OBJECT

 public:
  // Reads the script's whole lines, attaches the controller (the script's
  // time 0) and plays the lines already due. When the file cannot be read or
  // a line is bad: the message, naming the file and the line, and nothing
  // is attached. Call once the application object exists.
  static std::variant<std::unique_ptr<VirtualControllerPlayer>, QString> Start(const QString& path);

 private:
  struct Due {
    std::int64_t ms;  // since the controller was first attached
    ControllerEvent event;
  };

  VirtualControllerPlayer(const QString& path, AppendedLines file);
  void Queue(const std::vector<ControllerEvent>& events);
  void Tick();
  void TakeAppendedLines();
  void PlayDue();
  void ScheduleNext();

  QString path_;
  AppendedLines file_;
  bool following_ = true;  // false after a bad appended line or an unreadable file
  ControllerScriptParser parser_;
  VirtualController controller_;
  QElapsedTimer clock_;
  std::int64_t lastMs_ = 0;  // when the last queued line plays
  std::deque<Due> queue_;
  QTimer timer_;
};

}  // namespace kelvarok
