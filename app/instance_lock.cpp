#include "app/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <QFile>
#include <cerrno>
#include <cstdlib>
#include <string>

namespace kelvarok {
namespace {

int OpenLockFile(const QByteArray& path) {
  const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd >= 0 || errno == EISDIR) return fd;
  // A file we may not open (its mode changed, another owner) is replaced.
  ::unlink(path.constData());
  return ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
}

std::optional<long> ReadPid(int fd) {
  char text[32] = {};
  const ssize_t got = ::pread(fd, text, sizeof text - 1, 0);
  if (got <= 0) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const long pid = std::strtol(text, &end, 10);
  if (errno != 0 || end == text || pid <= 0) return std::nullopt;
  return pid;
}

void WritePid(int fd) {
  const std::string text = std::to_string(::getpid()) + "\n";
  // The id is for people and messages only; the lock itself is the flock.
  if (::ftruncate(fd, 0) == 0) {
    [[maybe_unused]] const ssize_t written = ::pwrite(fd, text.data(), text.size(), 0);
  }
}

}  // namespace

InstanceLock::InstanceLock(const QString& path) {
  fd_ = OpenLockFile(QFile::encodeName(path));
  if (fd_ < 0) return;
  if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
    WritePid(fd_);
    return;
  }
  heldByAnother_ = errno == EWOULDBLOCK;
  if (heldByAnother_) holderPid_ = ReadPid(fd_);
  ::close(fd_);
  fd_ = -1;
}

InstanceLock::~InstanceLock() {
  // The file stays: removing it could let a copy that opened it just now
  // lock a file that no later copy sees.
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace kelvarok
