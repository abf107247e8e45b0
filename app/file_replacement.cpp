#include "app/file_replacement.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
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

// The file that is replaced: path itself, or the file its link points to,
// which need not exist yet.
QString FileBehind(const QString& path) {
  const QFileInfo info(path);
  if (!info.isSymLink()) return info.absoluteFilePath();
  const QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

bool IsRegularOrMissing(const QByteArray& path) {
  struct stat info {};
  return ::stat(path.constData(), &info) == 0 ? S_ISREG(info.st_mode) : errno == ENOENT;
}

bool ProcessIsGone(qint64 pid) {
  return pid > 0 && pid != ::getpid() && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

}  // namespace

void RemoveLeftoverTemporaries(const QString& directory,
                               const std::function<bool(const QString&)>& isOurs) {
  static const QRegularExpression temporary("^(.+)\\.([0-9]{1,10})\\.new$");
  const QDir folder(directory);
  for (const QString& name : folder.entryList({"*.new"}, QDir::Files | QDir::Hidden)) {
    const QRegularExpressionMatch match = temporary.match(name);
    if (match.hasMatch() && isOurs(match.captured(1)) &&
        ProcessIsGone(match.captured(2).toLongLong()))
      QFile::remove(folder.filePath(name));
  }
}

bool ReplaceFileContents(const QString& path, const QByteArray& contents) {
  const QFileInfo target(FileBehind(path));
  if (!QDir().mkpath(target.absolutePath())) return false;
  const QByteArray finalPath = QFile::encodeName(target.absoluteFilePath());
  if (!IsRegularOrMissing(finalPath)) return false;
  RemoveLeftoverTemporaries(target.absolutePath(),
                            [&](const QString& name) { return name == target.fileName(); });
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
