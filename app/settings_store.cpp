#include "app/settings_store.h"

#include <QFile>
#include <QSet>
#include <QSettings>
#include <QStringList>

#include "app/file_replacement.h"
#include "app/ini_text.h"
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

QByteArray ReadWholeFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

QString SettingsStore::UserFilePath() {
  return QSettings("Ombrix", "Kelvarok").fileName();
}

StoredSettings SettingsStore::Load() const {
  return ReadStoredSettings(path_);
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
