#include "app/settings_store.h"

#include <QFile>
#include <QSet>
#include <QSettings>
#include <QStringList>
#include <variant>

#include "app/file_replacement.h"
#include "app/ini_text.h"
#include "platform/regular_file.h"
#include "qt/settings_file/settings_reader.h"
#include "qt/text/latin1_text.h"

namespace kelvarok {
namespace {

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
    Put(read, name, QStringFromLatin1(value));
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

// The file's text; a missing file reads as empty.
std::variant<QByteArray, std::string> ReadOldText(const QString& path) {
  const auto read = ReadRegularFile(QFile::encodeName(path).toStdString(), kLargestTextFile);
  if (const auto* refusal = std::get_if<FileRefusal>(&read))
    return refusal->Missing() ? std::variant<QByteArray, std::string>(QByteArray())
                              : refusal->reason;
  return QByteArray::fromStdString(std::get<std::string>(read));
}

}  // namespace

QString SettingsStore::UserFilePath() {
  return QSettings("Ombrix", "Kelvarok").fileName();
}

StoredSettings SettingsStore::Load() const {
  return ReadStoredSettings(path_).settings;
}

std::optional<std::string> SettingsStore::ReadProblem() const {
  std::string problem = ReadStoredSettings(path_).problem;
  if (problem.empty()) return std::nullopt;
  return problem;
}

std::optional<std::string> SettingsStore::Save(const StoredSettings& settings) const {
  const auto old = ReadOldText(path_);
  if (std::holds_alternative<std::string>(old)) return std::nullopt;
  Writer writer;
  VisitStoredValues(settings, writer);
  if (ReplaceFileContents(path_, writer.FileText(std::get<QByteArray>(old)))) return std::nullopt;
  // Nothing of this save reached the file, so the first value is the first
  // one that could not be stored.
  return "FormWidth";
}

}  // namespace kelvarok
