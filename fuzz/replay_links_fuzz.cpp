// Fuzzes the replay folder's links file ("links.txt") through the store the
// program uses: the input is the file, beside games 1 to 3. Whatever it
// holds, a game found for an entry is a game of the folder; a prune to a
// table keeps every link of the table's entries to a game that exists, and a
// second prune changes nothing; an entry linked afterwards is found.
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "app/replay_store.h"
#include "fuzz/fuzz_check.h"

namespace {

using namespace kelvarok;
using fuzz::Check;

// A folder of this process's own, removed at exit.
const QString& Folder() {
  struct Directory {
    Directory() : path(QDir::temp().filePath(QString("kelvarok-links-fuzz-%1").arg(::getpid()))) {}
    ~Directory() { QDir(path).removeRecursively(); }
    QString path;
  };
  static const Directory directory;
  return directory.path;
}

void WriteFile(const QString& path, const std::uint8_t* data, std::size_t size) {
  QFile file(path);
  Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the file can be written");
  Check(file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) ==
            static_cast<qint64>(size),
        "the file is written whole");
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Entries that the seeds link, and ones at the edges of what a link holds.
const THiScore kEntries[] = {
    {5, 2, "Ann"}, {7, 1, "Bob"}, {0, 0, ""}, {-3, 4, "Tab\tName"}, {2147483647, 99, "Zo\xeb"},
};

HiScoreTable Table() {
  HiScoreTable table;
  int place = 1;
  for (const THiScore& entry : kEntries) table[place++] = entry;
  return table;
}

void CheckFound(const ReplayStore& store, const THiScore& entry) {
  static const QRegularExpression game("^[0-9]+\\.kvr$");
  if (const std::optional<QString> path = store.Find(entry)) {
    const QFileInfo info(*path);
    Check(info.absolutePath() == QFileInfo(Folder()).absoluteFilePath(), "a game of the folder");
    Check(game.match(info.fileName()).hasMatch() && info.isFile(), "a game that exists");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QDir(Folder()).removeRecursively();
  Check(QDir().mkpath(Folder()), "a folder for the games");
  const std::uint8_t game[] = {'g'};
  for (const char* name : {"1.kvr", "2.kvr", "3.kvr"})
    WriteFile(QDir(Folder()).filePath(name), game, sizeof game);
  const QString links = QDir(Folder()).filePath("links.txt");
  WriteFile(links, data, size);
  const ReplayStore store(Folder());

  std::optional<QString> before[std::size(kEntries)];
  for (std::size_t i = 0; i < std::size(kEntries); ++i) {
    CheckFound(store, kEntries[i]);
    before[i] = store.Find(kEntries[i]);
  }
  store.Prune(Table());
  for (std::size_t i = 0; i < std::size(kEntries); ++i)
    Check(store.Find(kEntries[i]) == before[i], "a prune keeps the table's links");
  const QByteArray pruned = ReadFile(links);
  store.Prune(Table());
  Check(ReadFile(links) == pruned, "a second prune changes nothing");

  const THiScore added{123456, 7, "Fuzz"};
  store.Link(added, QDir(Folder()).filePath("3.kvr"));
  Check(store.Find(added).has_value(), "a linked entry is found");
  CheckFound(store, added);
  return 0;
}
