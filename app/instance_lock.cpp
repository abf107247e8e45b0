#include "app/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace kelvarok {
namespace {

// A link is never followed: the pid written into the lock would land in
// whatever file it points to.
constexpr int kOpenFlags = O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;

// The process that holds a lock on the file at path, from the kernel's list
// of locks; 0 when none does, nothing when the list cannot be read.
std::optional<long> LockHolder(const QByteArray& path) {
  struct stat info {};
  if (::lstat(path.constData(), &info) != 0) return 0;
  std::ifstream locks("/proc/locks");
  if (!locks) return std::nullopt;
  // "1: FLOCK  ADVISORY  WRITE 1234 08:01:5678 0 EOF": pid, then the device
  // as hexadecimal major:minor and the inode.
  for (std::string line; std::getline(locks, line);) {
    std::istringstream fields(line);
    std::string number, kind, mode, access, file;
    long pid = 0;
    if (!(fields >> number >> kind >> mode >> access >> pid >> file)) continue;
    unsigned major = 0, minor = 0;
    unsigned long long inode = 0;
    if (std::sscanf(file.c_str(), "%x:%x:%llu", &major, &minor, &inode) != 3) continue;
    if (major == ::major(info.st_dev) && minor == ::minor(info.st_dev) && inode == info.st_ino)
      return pid;
  }
  return 0;
}

int OpenLockFile(const QByteArray& path) {
  const int fd = ::open(path.constData(), kOpenFlags, 0644);
  if (fd >= 0 || errno == EISDIR) return fd;
  // A file we may not open (a link, its mode changed, another owner) is
  // replaced, unless a live copy holds it: that copy still counts.
  if (LockHolder(path).value_or(1) != 0) return -1;
  ::unlink(path.constData());
  return ::open(path.constData(), kOpenFlags | O_EXCL, 0644);
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
  const QByteArray name = QFile::encodeName(path);
  fd_ = OpenLockFile(name);
  if (fd_ < 0) {
    // A lock we cannot open but a live process holds is another copy's.
    const std::optional<long> holder = LockHolder(name);
    heldByAnother_ = holder.value_or(0) > 0;
    if (heldByAnother_) holderPid_ = holder;
    return;
  }
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
