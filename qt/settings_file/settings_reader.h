// Reads the settings file of the desktop program: the INI file of 46 string
// values that the settings store writes at exit. Needs only Qt Core.
#pragma once

#include <QString>
#include <string>

#include "qt/settings_file/stored_settings.h"

namespace kelvarok {

// What reading the settings file gave.
struct SettingsFileRead {
  StoredSettings settings;
  // Why a file that exists could not be read (permission denied, not a
  // regular file, larger than any settings file); empty when it was read or
  // does not exist. The settings are then every default.
  std::string problem;
};

// Every value of the file at path; a value that is missing, not a string, or
// whose number does not parse gives its default, as does a missing file. A
// name keeps its first 20 characters and a key code its low 16 bits. Value
// names are compared without regard to case. The file is never written.
SettingsFileRead ReadStoredSettings(const QString& path);

}  // namespace kelvarok
