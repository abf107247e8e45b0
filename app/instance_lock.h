// The lock a running copy holds on its lock file. The kernel lets go of it
// when the process ends, however it ends, so a file left behind is stale
// whatever it holds (empty, garbage, a dead or foreign process id) and the
// next copy takes it over; only a live holder counts.
#pragma once

#include <QString>
#include <optional>

namespace kelvarok {

class InstanceLock {
 public:
  // Takes the lock at path, or learns that another live process holds it.
  // A link is never followed. A file that cannot be opened (a link, a mode
  // that forbids it) is replaced when no live process holds a lock on it, and
  // counts as another copy's when one does; where no lock can be had at all
  // the copy counts as the only one.
  explicit InstanceLock(const QString& path);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  bool HeldByAnother() const { return heldByAnother_; }
  // The process id the holder wrote into the file, when it reads as one.
  std::optional<long> HolderPid() const { return holderPid_; }

 private:
  int fd_ = -1;
  bool heldByAnother_ = false;
  std::optional<long> holderPid_;
};

}  // namespace kelvarok
