#include "platform/appended_lines.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <utility>

namespace kelvarok {

std::variant<AppendedLines, FileRefusal> AppendedLines::Open(const std::filesystem::path& path,
                                                             std::uint64_t maxBytes) {
  auto opened = OpenRegularFile(path, maxBytes);
  if (auto* refusal = std::get_if<FileRefusal>(&opened)) return std::move(*refusal);
  return AppendedLines(std::get<int>(opened), maxBytes);
}

AppendedLines::AppendedLines(AppendedLines&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      maxBytes_(other.maxBytes_),
      taken_(other.taken_),
      partial_(std::move(other.partial_)) {}

AppendedLines::~AppendedLines() {
  if (fd_ >= 0) ::close(fd_);
}

std::variant<std::string, FileRefusal> AppendedLines::TakeLines() {
  struct stat info {};
  if (::fstat(fd_, &info) != 0) return FileRefusal{0, std::strerror(errno)};
  const auto size = static_cast<std::uint64_t>(info.st_size);
  if (size < taken_) return FileRefusal{0, "the file became shorter"};
  if (size > maxBytes_) return TooLarge(maxBytes_);
  std::string bytes = std::move(partial_);
  partial_.clear();
  // Up to the size just seen: what is appended meanwhile waits for the next look.
  const std::size_t before = bytes.size();
  if (const auto failed = ReadOnto(fd_, size - taken_, bytes)) return *failed;
  taken_ += bytes.size() - before;
  const std::size_t end = bytes.rfind('\n');
  const std::size_t whole = end == std::string::npos ? 0 : end + 1;
  partial_ = bytes.substr(whole);
  bytes.resize(whole);
  return bytes;
}

}  // namespace kelvarok
