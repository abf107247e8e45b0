// Opening a file the program was given by name for reading. Only a regular
// file of a size that a real file of its kind can have is opened: a FIFO or
// a device would block the program or never end, and a huge (often sparse)
// file would fill its memory, so both are refused at once with a reason.
#pragma once

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>

namespace kelvarok {

// Why a file was not opened.
struct FileRefusal {
  int error = 0;       // errno of a failed open; 0 for a file that was refused
  std::string reason;  // "No such file or directory", "not a regular file", ...

  // Nothing is there to read (no such file, or a path through a file).
  bool Missing() const { return error == ENOENT || error == ENOTDIR; }
};

// The open descriptor of the regular file at path (links followed), which
// the caller closes, when it holds at most maxBytes. Never blocks on a FIFO.
std::variant<int, FileRefusal> OpenRegularFile(const std::filesystem::path& path,
                                               std::uint64_t maxBytes);

// Reads from fd's offset onto bytes until the end of the file or until
// atMost bytes have been read; a failed read is refused.
std::optional<FileRefusal> ReadOnto(int fd, std::uint64_t atMost, std::string& bytes);
// The refusal of a file larger than maxBytes.
FileRefusal TooLarge(std::uint64_t maxBytes);
// Every byte of the regular file at path, as OpenRegularFile allows it.
std::variant<std::string, FileRefusal> ReadRegularFile(const std::filesystem::path& path,
                                                       std::uint64_t maxBytes);

// "cannot read 'PATH': REASON", for messages.
std::string CannotReadMessage(const std::filesystem::path& path, const FileRefusal& refusal);

// Sizes no real file of a kind comes near.
constexpr std::uint64_t kLargestTextFile = std::uint64_t{1} << 20;     // settings, INI, links
constexpr std::uint64_t kLargestScriptFile = std::uint64_t{64} << 20;  // input scripts
constexpr std::uint64_t kLargestReplayFile = std::uint64_t{64} << 20;
constexpr std::uint64_t kLargestWaveFile = std::uint64_t{256} << 20;

}  // namespace kelvarok
