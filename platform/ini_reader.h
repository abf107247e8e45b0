// Integer settings from INI files with GetPrivateProfileInt's meaning:
// sections and keys compare without regard to case, the first match counts,
// the value's leading number is taken (optional sign, decimal digits, wrapping
// to 32 bits; no digits gives 0), and a missing file, section or key, or an
// empty value, gives the default.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace kelvarok {

class IniReader {
 public:
  virtual ~IniReader() = default;
  virtual std::uint32_t GetPrivateProfileIntA(std::string_view section, std::string_view key,
                                              std::int32_t default_value,
                                              std::string_view file_name) = 0;
};

// The value text of section/key in an INI text, quotes around it removed.
std::optional<std::string> FindProfileString(std::string_view text, std::string_view section,
                                             std::string_view key);
// The integer of a value text as GetPrivateProfileInt reads it.
std::uint32_t ParseProfileInt(std::string_view value);

// Reads the named file from disk at every call; a bare file name is looked up
// in the profile directory. A file that exists but is refused (not a regular
// file, larger than any INI file, unreadable) gives the defaults like a
// missing one, and report hears why, once per file.
class IniFileReader final : public IniReader {
 public:
  explicit IniFileReader(std::filesystem::path profile_directory,
                         std::function<void(const std::string&)> report = {});
  std::uint32_t GetPrivateProfileIntA(std::string_view section, std::string_view key,
                                      std::int32_t default_value,
                                      std::string_view file_name) override;

 private:
  std::filesystem::path directory_;
  std::function<void(const std::string&)> report_;
  std::set<std::filesystem::path> reported_;
};

// Where bare INI names live: $XDG_CONFIG_HOME, or ~/.config without it.
std::filesystem::path DefaultProfileDirectory();

// One INI text that answers for every file name (an empty text gives every
// default): for a file chosen on a command line, and for tests.
class IniTextReader final : public IniReader {
 public:
  explicit IniTextReader(std::string text = {}) : text_(std::move(text)) {}
  std::uint32_t GetPrivateProfileIntA(std::string_view section, std::string_view key,
                                      std::int32_t default_value, std::string_view) override;

 private:
  std::string text_;
};

}  // namespace kelvarok
