#include "app/settings_store.h"

#include <QHash>
#include <QSettings>
#include <QStringList>
#include <QVariant>

#include "app/latin1_text.h"

namespace kelvarok {
namespace {

// The string values of the file by lower-cased name. Values that are not
// plain strings (lists, "@Variant(...)" data) count as absent.
QHash<QString, QString> ReadStrings(QSettings& file) {
  QHash<QString, QString> values;
  const QStringList keys = file.childKeys();
  for (const QString& key : keys) {
    const QVariant value = file.value(key);
    if (value.typeId() == QMetaType::QString) values.insert(key.toLower(), value.toString());
  }
  return values;
}

class Reader {
 public:
  explicit Reader(QHash<QString, QString> values) : values_(std::move(values)) {}

  void Int(const char* name, const char*, std::int32_t& variable, std::int32_t fallback) const {
    variable = ParseInt(name).value_or(fallback);
  }
  void Bool(const char* name, const char*, bool& variable, bool fallback) const {
    variable = ParseInt(name).value_or(fallback ? 1 : 0) != 0;
  }
  void Key(const char* name, const char*, std::uint16_t& variable, std::uint16_t fallback) const {
    // The low 16 bits of the number read: 65553 is 17.
    variable = static_cast<std::uint16_t>(ParseInt(name).value_or(fallback));
  }
  void Text(const char* name, const char*, std::string& variable) const {
    const QString text = values_.value(QString::fromLatin1(name).toLower());
    variable = ToLatin1(text.left(static_cast<qsizetype>(kMaxNameLength)));
  }

 private:
  std::optional<std::int32_t> ParseInt(const char* name) const {
    const auto found = values_.constFind(QString::fromLatin1(name).toLower());
    if (found == values_.cend()) return std::nullopt;
    bool ok = false;
    const int number = found->toInt(&ok, 10);
    if (!ok) return std::nullopt;
    return number;
  }

  QHash<QString, QString> values_;
};

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
  QSettings file(path_, QSettings::IniFormat);
  const Reader reader(ReadStrings(file));
  StoredSettings settings;
  VisitStoredValues(settings, reader);
  return settings;
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
