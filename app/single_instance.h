// Only one copy of the game runs at a time. The first copy holds a lock named
// after its executable and listens under the application title; a second
// copy asks the first to come to the front and then ends.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "app/instance_lock.h"

class QLocalServer;

namespace kelvarok {

// The title a program file gives: its name without directory and without
// everything from the first "." on, every character after the first in lower
// case ("/opt/KELVAROK.EXE" gives "Kelvarok").
QString TitleFromExecutable(const QString& executablePath);

class SingleInstance final : public QObject {
  Q_OBJECT

 public:
  // lockName: the executable-derived title; serverName: the application title
  // ("Kelvarok"); both become files in directory (the user's runtime
  // directory), so that two users never meet.
  SingleInstance(const QString& directory, const QString& lockName, const QString& serverName);
  ~SingleInstance() override;

  // True when another live copy holds the lock. A lock file left by a copy
  // that no longer runs is taken over, whatever it holds.
  bool PreviousInstance() const { return lock_.HeldByAnother(); }
  // The running copy's process id, when its lock file names one.
  std::optional<long> RunningCopyPid() const { return lock_.HolderPid(); }

  // Second copy: asks the running copy to come to the front, handing over
  // the activation token the desktop gave this start (empty when none), which
  // a Wayland compositor wants before it lets a window take the focus.
  // Returns whether the message was delivered.
  bool RaiseRunningCopy(const QString& activationToken) const;

  // First copy: called whenever a second copy asks to be replaced by us, with
  // its activation token (empty when it had none or sent one that is unfit).
  void OnRaiseRequest(std::function<void(const QString&)> raise) { raise_ = std::move(raise); }

 private:
  void Listen();
  void Accept();

  QString serverPath_;
  InstanceLock lock_;
  std::unique_ptr<QLocalServer> server_;
  std::function<void(const QString&)> raise_;
};

// The token the desktop gave this start for activating a window
// (XDG_ACTIVATION_TOKEN on Wayland, DESKTOP_STARTUP_ID under X), or empty.
QString StartupActivationToken();

// A runtime directory of the user's own (see OwnRuntimeDirectory), or the
// temporary directory where none can be had.
QString InstanceDirectory();

}  // namespace kelvarok
