#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

namespace kelvarok {

FileRefusal TooLarge(std::uint64_t maxBytes) {
  return {0, "larger than " + std::to_string(maxBytes) + " bytes"};
}

std::variant<int, FileRefusal> OpenRegularFile(const std::filesystem::path& path,
                                               std::uint64_t maxBytes) {
  // O_NONBLOCK: opening a FIFO for reading would wait for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return FileRefusal{errno, std::strerror(errno)};
  struct stat info {};
  std::optional<FileRefusal> refused;
  if (::fstat(fd, &info) != 0) {
    refused = FileRefusal{0, std::strerror(errno)};
  } else if (!S_ISREG(info.st_mode)) {
    refused = FileRefusal{0, "not a regular file"};
  } else if (static_cast<std::uint64_t>(info.st_size) > maxBytes) {
    refused = TooLarge(maxBytes);
  }
  if (refused) {
    ::close(fd);
    return *refused;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

std::optional<FileRefusal> ReadOnto(int fd, std::uint64_t atMost, std::string& bytes) {
  char chunk[65536];
  while (atMost > 0) {
    const ssize_t got = ::read(fd, chunk, std::min<std::uint64_t>(atMost, sizeof chunk));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return FileRefusal{0, std::strerror(errno)};
    if (got == 0) break;
    bytes.append(chunk, static_cast<std::size_t>(got));
    atMost -= static_cast<std::uint64_t>(got);
  }
  return std::nullopt;
}

std::variant<std::string, FileRefusal> ReadRegularFile(const std::filesystem::path& path,
                                                       std::uint64_t maxBytes) {
  const auto opened = OpenRegularFile(path, maxBytes);
  if (const auto* refusal = std::get_if<FileRefusal>(&opened)) return *refusal;
  const int fd = std::get<int>(opened);
  std::string bytes;
  // The file may grow while it is read: it still stops past the limit.
  const std::optional<FileRefusal> failed = ReadOnto(fd, maxBytes + 1, bytes);
  ::close(fd);
  if (failed) return *failed;
  if (bytes.size() > maxBytes) return TooLarge(maxBytes);
  return bytes;
}

std::string CannotReadMessage(const std::filesystem::path& path, const FileRefusal& refusal) {
  return "cannot read '" + path.string() + "': " + refusal.reason;
}

}  // namespace kelvarok
