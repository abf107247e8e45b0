#include "platform/ini_reader.h"

#include <cctype>
#include <cstdlib>

#include "platform/regular_file.h"

namespace kelvarok {

namespace {

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::uint32_t FromText(std::optional<std::string> value, std::int32_t default_value) {
  if (!value || value->empty()) return static_cast<std::uint32_t>(default_value);
  return ParseProfileInt(*value);
}

}  // namespace

std::optional<std::string> FindProfileString(std::string_view text, std::string_view section,
                                             std::string_view key) {
  bool in_section = false;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = Trimmed(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      const std::string_view name =
          line.substr(1, close == std::string_view::npos ? line.npos : close - 1);
      in_section = SameText(Trimmed(name), section);
      continue;
    }
    const std::size_t equals = line.find('=');
    if (!in_section || equals == std::string_view::npos) continue;
    if (!SameText(Trimmed(line.substr(0, equals)), key)) continue;
    std::string_view value = Trimmed(line.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
  }
  return std::nullopt;
}

std::uint32_t ParseProfileInt(std::string_view value) {
  value = Trimmed(value);
  bool negative = false;
  if (!value.empty() && (value.front() == '-' || value.front() == '+')) {
    negative = value.front() == '-';
    value.remove_prefix(1);
  }
  std::uint32_t number = 0;
  for (char c : value) {
    if (c < '0' || c > '9') break;
    number = number * 10 + static_cast<std::uint32_t>(c - '0');
  }
  return negative ? 0u - number : number;
}

IniFileReader::IniFileReader(std::filesystem::path profile_directory,
                             std::function<void(const std::string&)> report)
    : directory_(std::move(profile_directory)), report_(std::move(report)) {}

std::uint32_t IniFileReader::GetPrivateProfileIntA(std::string_view section, std::string_view key,
                                                   std::int32_t default_value,
                                                   std::string_view file_name) {
  std::filesystem::path path(file_name);
  if (!path.has_parent_path()) path = directory_ / path;
  const auto read = ReadRegularFile(path, kLargestTextFile);
  if (const auto* refusal = std::get_if<FileRefusal>(&read)) {
    if (!refusal->Missing() && report_ && reported_.insert(path).second)
      report_(CannotReadMessage(path, *refusal));
    return static_cast<std::uint32_t>(default_value);
  }
  return FromText(FindProfileString(std::get<std::string>(read), section, key), default_value);
}

std::filesystem::path DefaultProfileDirectory() {
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config != '\0') {
    return config;
  }
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home != nullptr ? home : "") / ".config";
}

std::uint32_t IniTextReader::GetPrivateProfileIntA(std::string_view section, std::string_view key,
                                                   std::int32_t default_value, std::string_view) {
  return FromText(FindProfileString(text_, section, key), default_value);
}

}  // namespace kelvarok
