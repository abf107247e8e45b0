#include "app/file_replacement.h"

#include <fcntl.h>
#include <unistd.h>
#include <QDir>
#include <QFileInfo>
#include <cerrno>

namespace kelvarok {
namespace {

bool WriteAll(int fd, const QByteArray& contents) {
  const char* next = contents.constData();
  auto left = static_cast<std::size_t>(contents.size());
  while (left > 0) {
    const ssize_t written = ::write(fd, next, left);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;  // a short write is followed by the error
    next += written;
    left -= static_cast<std::size_t>(written);
  }
  return true;
}

// A temporary file of this process: a live process never shares its id, so
// one that exists was left by a crashed process and is replaced.
int CreateTemporary(const QByteArray& path) {
  ::unlink(path.constData());
  return ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

// Makes the rename itself durable. The new file is complete either way, so
// a directory that cannot be synced is no failure.
void SyncDirectory(const QByteArray& directory) {
  const int fd = ::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool ReplaceFileContents(const QString& path, const QByteArray& contents) {
  const QFileInfo target(path);
  if (!QDir().mkpath(target.absolutePath())) return false;
  const QByteArray finalPath = QFile::encodeName(target.absoluteFilePath());
  const QByteArray temporaryPath = finalPath + "." + QByteArray::number(::getpid()) + ".new";
  const int fd = CreateTemporary(temporaryPath);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, contents) && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || ::rename(temporaryPath.constData(), finalPath.constData()) != 0) {
    ::unlink(temporaryPath.constData());
    return false;
  }
  SyncDirectory(QFile::encodeName(target.absolutePath()));
  return true;
}

}  // namespace kelvarok
