#include "app/settings_store.h"

#include <QSettings>
#include <QStringList>

#include "app/latin1_text.h"
#include "app/settings_file/settings_reader.h"

namespace kelvarok {
namespace {

class Writer {
 public:
  explicit Writer(QSettings& file) : file_(file) {}

  void Int(const char*, const char* name, std::int32_t value, std::int32_t) {
    Put(name, QString::number(value));
  }
  void Bool(const char*, const char* name, bool value, bool) { Put(name, value ? "1" : "0"); }
  void Key(const char*, const char* name, std::uint16_t value, std::uint16_t) {
    Put(name, QString::number(value));
  }
  void Text(const char*, const char* name, const std::string& value) {
    Put(name, FromLatin1(value));
  }

 private:
  void Put(const char* name, const QString& text) {
    const QString key = QString::fromLatin1(name);
    // The same value under another spelling ("JoyStick1") goes, so the file
    // never holds two values that the next load could confuse.
    const QStringList keys = file_.childKeys();
    for (const QString& other : keys)
      if (other != key && other.compare(key, Qt::CaseInsensitive) == 0) file_.remove(other);
    file_.setValue(key, text);
  }

  QSettings& file_;
};

}  // namespace

QString SettingsStore::UserFilePath() {
  return QSettings("Ombrix", "Kelvarok").fileName();
}

StoredSettings SettingsStore::Load() const {
  return ReadStoredSettings(path_);
}

std::optional<std::string> SettingsStore::Save(const StoredSettings& settings) const {
  QSettings file(path_, QSettings::IniFormat);
  // QSettings replaces the file through a temporary file and a rename, and
  // refuses a non-atomic fallback, so a failed write leaves the old file.
  file.setAtomicSyncRequired(true);
  Writer writer(file);
  VisitStoredValues(settings, writer);
  file.sync();
  if (file.status() == QSettings::NoError) return std::nullopt;
  // Nothing of this save reached the disk, so the first value is the first
  // one that could not be stored.
  return "FormWidth";
}

}  // namespace kelvarok
