#include "qt/settings_file/settings_reader.h"

#include <unistd.h>
#include <QFile>
#include <QHash>
#include <QSettings>
#include <QStringList>
#include <QVariant>
#include <optional>
#include <variant>

#include "platform/regular_file.h"
#include "qt/text/latin1_text.h"

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

}  // namespace

SettingsFileRead ReadStoredSettings(const QString& path) {
  SettingsFileRead read;
  // QSettings would read a FIFO, a device or a huge file without end.
  const auto opened = OpenRegularFile(QFile::encodeName(path).toStdString(), kLargestTextFile);
  if (const auto* refusal = std::get_if<FileRefusal>(&opened)) {
    if (!refusal->Missing()) read.problem = refusal->reason;
    return read;
  }
  ::close(std::get<int>(opened));
  QSettings file(path, QSettings::IniFormat);
  const Reader reader(ReadStrings(file));
  VisitStoredValues(read.settings, reader);
  return read;
}

}  // namespace kelvarok
