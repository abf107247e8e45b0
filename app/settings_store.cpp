#include "app/settings_store.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QSettings>
#include <QStringList>
#include <QVariant>

#include "app/file_replacement.h"
#include "app/ini_text.h"
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

// The file's new text: the 46 values in their order, then whatever else the
// old file held, so that a value under another spelling ("JoyStick1") goes
// and the file never holds two values that the next load could confuse.
class Writer {
 public:
  void Int(const char* read, const char* name, std::int32_t value, std::int32_t) {
    Put(read, name, QString::number(value));
  }
  void Bool(const char* read, const char* name, bool value, bool) {
    Put(read, name, value ? "1" : "0");
  }
  void Key(const char* read, const char* name, std::uint16_t value, std::uint16_t) {
    Put(read, name, QString::number(value));
  }
  void Text(const char* read, const char* name, const std::string& value) {
    Put(read, name, FromLatin1(value));
  }

  QByteArray FileText(const QByteArray& oldText) const {
    const ForeignIniText foreign = ForeignIniTextOf(oldText, names_);
    return "[General]\n" + lines_ + foreign.general + foreign.sections;
  }

 private:
  void Put(const char* read, const char* name, const QString& text) {
    names_.insert(QString::fromLatin1(read).toLower());
    names_.insert(QString::fromLatin1(name).toLower());
    lines_ += IniLine(QString::fromLatin1(name), text);
  }

  QByteArray lines_;
  QSet<QString> names_;
};

QByteArray ReadWholeFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

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
  Writer writer;
  VisitStoredValues(settings, writer);
  if (ReplaceFileContents(path_, writer.FileText(ReadWholeFile(path_)))) return std::nullopt;
  // Nothing of this save reached the file, so the first value is the first
  // one that could not be stored.
  return "FormWidth";
}

}  // namespace kelvarok
