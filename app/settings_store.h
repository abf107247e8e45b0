// The per-user settings file: 46 string values, read once at start and
// written once at exit. Value names are compared without regard to case.
#pragma once

#include <QString>
#include <optional>
#include <string>

#include "qt/settings_file/stored_settings.h"

namespace kelvarok {

class SettingsStore {
 public:
  // The store in the INI file at filePath.
  explicit SettingsStore(QString filePath) : path_(std::move(filePath)) {}
  // The user's store: "Ombrix/Kelvarok.conf" under the XDG config directory.
  static QString UserFilePath();

  // Every value; a value that is missing, not a string, or whose number does
  // not parse gives its default. A name keeps its first 20 characters and a
  // key code its low 16 bits. A file that cannot be read gives every default.
  StoredSettings Load() const;

  // Why the file exists but cannot be read (permission denied, not a regular
  // file, larger than any settings file), or nothing.
  std::optional<std::string> ReadProblem() const;

  // Writes every value. The file is replaced whole or not at all, so a crash
  // or a full disk leaves the previous file intact; a symbolic link stays and
  // its target is replaced. A file that exists but cannot be read is left
  // alone: it may hold a table the defaults would overwrite. Returns the name
  // of the first value that could not be stored, or nothing on success.
  std::optional<std::string> Save(const StoredSettings& settings) const;

  const QString& path() const { return path_; }

 private:
  QString path_;
};

}  // namespace kelvarok
