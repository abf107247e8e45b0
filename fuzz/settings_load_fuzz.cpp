// Fuzzes the load of the desktop program's settings file through the store
// the program uses: the input is the file. Whatever it holds, the load gives
// names of at most 20 characters, gives the same settings every time, and
// what it gives survives a save and a load unchanged.
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/settings_store.h"
#include "fuzz/fuzz_check.h"

namespace {

using namespace kelvarok;
using fuzz::Check;

// Every value as "name=value" lines.
class Description {
 public:
  void Int(const char* name, const char*, std::int32_t value, std::int32_t) {
    Add(name, std::to_string(value));
  }
  void Bool(const char* name, const char*, bool value, bool) { Add(name, value ? "1" : "0"); }
  void Key(const char* name, const char*, std::uint16_t value, std::uint16_t) {
    Add(name, std::to_string(value));
  }
  void Text(const char* name, const char*, const std::string& value) {
    Check(value.size() <= kMaxNameLength, "a name of at most 20 characters");
    Add(name, value);
  }
  const std::string& text() const { return text_; }

 private:
  void Add(const char* name, const std::string& value) {
    text_ += name;
    text_ += '=' + value + '\n';
  }
  std::string text_;
};

std::string Describe(const StoredSettings& settings) {
  Description description;
  VisitStoredValues(settings, description);
  return description.text();
}

// A file in a directory of this process's own, removed at exit.
QString FilePath(const char* name) {
  struct Directory {
    Directory() : path(QDir::temp().filePath(QString("kelvarok-settings-fuzz-%1").arg(getpid()))) {
      Check(QDir().mkpath(path), "a directory for the files");
    }
    ~Directory() { QDir(path).removeRecursively(); }
    QString path;
  };
  static const Directory directory;
  return QDir(directory.path).filePath(name);
}

// A path no earlier run used. QSettings keeps what it read of a file and
// reads it again only when the file's size or time has changed, so a file
// rewritten within one tick of its clock would give the previous run's
// values: every run reads and writes files of its own.
QString FreshPath(const char* kind) {
  static qint64 runs = 0;
  return FilePath(QString("%1-%2.conf").arg(kind).arg(++runs).toLatin1().constData());
}

void WriteInput(const QString& path, const std::uint8_t* data, std::size_t size) {
  QFile file(path);
  Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the file can be written");
  Check(file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) ==
            static_cast<qint64>(size),
        "the input is written whole");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const SettingsStore store(FreshPath("input"));
  const SettingsStore copy(FreshPath("copy"));
  WriteInput(store.path(), data, size);
  const std::string loaded = Describe(store.Load());
  Check(Describe(store.Load()) == loaded, "the same file loads the same settings");

  Check(!copy.Save(store.Load()).has_value(), "the settings can be saved");
  Check(Describe(copy.Load()) == loaded, "saved settings load back unchanged");
  QFile::remove(store.path());
  QFile::remove(copy.path());
  return 0;
}
