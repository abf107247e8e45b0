// Reading a text file while something appends to it: each look takes only
// the bytes added since the last one, and hands on whole lines alone, so a
// line being written is taken once its newline is there.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <variant>

#include "platform/regular_file.h"

namespace kelvarok {

class AppendedLines {
 public:
  // The file as OpenRegularFile allows it, nothing taken yet.
  static std::variant<AppendedLines, FileRefusal> Open(const std::filesystem::path& path,
                                                       std::uint64_t maxBytes);
  AppendedLines(AppendedLines&& other) noexcept;
  AppendedLines& operator=(AppendedLines&&) = delete;
  AppendedLines(const AppendedLines&) = delete;
  AppendedLines& operator=(const AppendedLines&) = delete;
  ~AppendedLines();

  // The whole lines added since the last call, each with its "\n" (empty
  // when none was completed); or why no more can be taken: the file grew
  // beyond maxBytes, became shorter than what was taken, or a read failed.
  std::variant<std::string, FileRefusal> TakeLines();

 private:
  AppendedLines(int fd, std::uint64_t maxBytes) : fd_(fd), maxBytes_(maxBytes) {}

  int fd_ = -1;
  std::uint64_t maxBytes_ = 0;
  std::uint64_t taken_ = 0;  // bytes read from the file
  std::string partial_;      // the start of a line without its newline yet
};

}  // namespace kelvarok
