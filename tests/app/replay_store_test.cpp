#include "app/replay_store.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <initializer_list>

namespace kelvarok {
namespace {

HiScoreTable TableOf(std::initializer_list<THiScore> entries) {
  HiScoreTable table;
  int place = 1;
  for (const THiScore& entry : entries) table[place++] = entry;
  return table;
}

class ReplayStoreTest : public ::testing::Test {
 protected:
  QString Folder() const { return dir_.filePath("replays"); }
  QString Game(int number) const { return Folder() + QString("/%1.kvr").arg(number); }
  QString Links() const { return Folder() + "/links.txt"; }
  static void WriteFile(const QString& path, const QByteArray& contents) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
  }
  static QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  QTemporaryDir dir_;
  const ReplayStore store_{Folder()};
};

TEST_F(ReplayStoreTest, GamesAreNumberedUpwardsAndFoundThroughTheirLinks) {
  EXPECT_EQ(store_.Last(), std::nullopt);
  WriteFile(Game(8), "older");
  WriteFile(Folder() + "/12.kvr.txt", "not a game");
  // Numbers no game reaches: files of someone else, which leave room for ours.
  WriteFile(Folder() + "/9223372036854775807.kvr", "not a game");
  WriteFile(Folder() + "/1000000000.kvr", "not a game");
  const auto first = store_.Save("first");
  const auto second = store_.Save("second");
  ASSERT_EQ(first, Game(9));
  ASSERT_EQ(second, Game(10));
  EXPECT_EQ(ReadFile(*second), "second");

  const THiScore entry{4200, 7, "Pl\xe4y\ter"};
  store_.Link(entry, *first);
  store_.Link(entry, *first);
  EXPECT_EQ(ReadFile(Links()).count('\n'), 1);
  EXPECT_EQ(ReplayStore(Folder()).Find(entry), first);
  EXPECT_EQ(store_.Find({4200, 7, "Pl\xe4y"}), std::nullopt);
  EXPECT_EQ(store_.Find({4200, 6, entry.Name}), std::nullopt);
  EXPECT_EQ(store_.Last(), second);

  QFile::remove(*second);
  EXPECT_EQ(store_.Last(), first);
  QFile::remove(*first);
  EXPECT_EQ(store_.Find(entry), std::nullopt);
  EXPECT_EQ(store_.Last(), Game(8));
}

TEST_F(ReplayStoreTest, PruneKeepsTheTablesGamesAndTheMostRecentOnes) {
  for (int n = 1; n <= 30; ++n) ASSERT_EQ(store_.Save("game"), Game(n));
  WriteFile(Folder() + "/notes.txt", "mine");
  WriteFile(Folder() + "/4.kvr.bak", "mine");
  const THiScore old{900, 9, "Old"}, recent{800, 8, "Recent"}, left{700, 7, "Left"},
      lost{600, 6, "Lost"};
  store_.Link(old, Game(3));
  store_.Link(recent, Game(25));
  store_.Link(left, Game(5));
  store_.Link(left, Game(27));
  store_.Link(lost, Game(2));
  QFile::remove(Game(2));

  store_.Prune(TableOf({old, recent, lost}));

  QStringList expected{"3.kvr", "4.kvr.bak", "links.txt", "notes.txt"};
  for (int n = 11; n <= 30; ++n) expected << QString("%1.kvr").arg(n);
  expected.sort();
  EXPECT_EQ(QDir(Folder()).entryList(QDir::Files, QDir::Name), expected);
  EXPECT_EQ(store_.Find(old), Game(3));
  EXPECT_EQ(store_.Find(recent), Game(25));
  EXPECT_EQ(store_.Find(left), std::nullopt);
  // The link of a game that was gone went with it.
  WriteFile(Game(2), "again");
  EXPECT_EQ(store_.Find(lost), std::nullopt);
}

TEST_F(ReplayStoreTest, LinesThatDoNotReadAsLinksAreIgnored) {
  // Every file the lines name exists, so only a strict reading keeps them out.
  for (const QString& path : {Game(1), dir_.filePath("1.kvr"), Folder() + "/sub/1.kvr",
                              Folder() + "/+1.kvr", Folder() + "/.kvr", Folder() + "/1.kvr.kvr"})
    WriteFile(path, "game");
  const THiScore ann{5, 2, "Ann"};
  const struct {
    QByteArray line;
    THiScore entry;
  } cases[] = {
      {"5\t2\t../1.kvr\tAnn", ann},
      {"5\t2\tsub/1.kvr\tAnn", ann},
      {"5\t2\t+1.kvr\tAnn", ann},
      {"5\t2\t.kvr\tAnn", ann},
      {"5\t2\t1.kvr.kvr\tAnn", ann},
      {"5x\t2\t1.kvr\tAnn", ann},
      {"4294967301\t2\t1.kvr\tAnn", ann},
      {"5\t2.0\t1.kvr\tAnn", ann},
      {"\t2\t1.kvr\tAnn", {0, 2, "Ann"}},
      {"5\t2\t1.kvr", {5, 2, ""}},
      {"5\t2\t1.kvr\tabcdefghijklmnopqrstu", {5, 2, "abcdefghijklmnopqrstu"}},
      {QByteArray("\xff\0\t\t\t", 5), {0, 0, ""}},
  };
  const THiScore bob{7, 1, "Bob"};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line.toStdString());
    WriteFile(Links(), c.line + "\n7\t1\t1.kvr\tBob\n");
    EXPECT_EQ(store_.Find(c.entry), std::nullopt);
    EXPECT_EQ(store_.Find(bob), Game(1));
  }
}

TEST_F(ReplayStoreTest, KeepLinksOnlyTheEntriesTheGameBroughtIn) {
  const THiScore ann{500, 3, "Ann"}, bob{400, 2, "Bob"};
  const HiScoreTable first = TableOf({ann, bob});
  const auto opening = store_.Keep("opening", HiScoreTable{}, first);
  ASSERT_EQ(opening, Game(1));
  // A second Ann is new even though the table held one before.
  const HiScoreTable second = TableOf({ann, ann, bob});
  ASSERT_EQ(store_.Keep("next", first, second), Game(2));
  ASSERT_EQ(store_.Keep("quiet", second, second), Game(3));

  EXPECT_EQ(store_.Find(bob), opening);
  QFile::remove(*opening);
  EXPECT_EQ(store_.Find(ann), Game(2));
  QFile::remove(Game(2));
  EXPECT_EQ(store_.Find(ann), std::nullopt);
  EXPECT_EQ(store_.Find(bob), std::nullopt);
}

// Gives an environment variable a value, or unsets it for nothing, until destroyed.
class EnvironmentOverride {
 public:
  EnvironmentOverride(const char* name, const std::optional<QByteArray>& value) : name_(name) {
    if (qEnvironmentVariableIsSet(name)) old_ = qgetenv(name);
    Set(value);
  }
  ~EnvironmentOverride() { Set(old_); }

 private:
  void Set(const std::optional<QByteArray>& value) {
    value ? qputenv(name_, *value) : qunsetenv(name_);
  }
  const char* name_;
  std::optional<QByteArray> old_;
};

TEST(ReplayFolderTest, TheDataDirectoryIsXdgDataHomeWhenAbsolute) {
  const EnvironmentOverride home("HOME", "/home/tester");
  const QString fallback = "/home/tester/.local/share/Ombrix/Kelvarok/replays";
  const struct {
    std::optional<QByteArray> dataHome;
    QString folder;
  } cases[] = {
      {"/data", "/data/Ombrix/Kelvarok/replays"},
      {"/data/", "/data/Ombrix/Kelvarok/replays"},
      {std::nullopt, fallback},
      {"", fallback},
      {"data", fallback},
      {"./data", fallback},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dataHome.value_or("(unset)").toStdString());
    const EnvironmentOverride dataHome("XDG_DATA_HOME", c.dataHome);
    EXPECT_EQ(ReplayStore::DefaultFolder().toStdString(), c.folder.toStdString());
  }
}

// A process killed while saving a game or the links leaves its temporary
// file; the next save removes it, and never a file that is not ours.
TEST_F(ReplayStoreTest, ASaveRemovesTheTemporaryFilesOfKilledSaves) {
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ASSERT_EQ(::waitpid(gone, nullptr, 0), gone);
  const QString suffix = QString(".%1.new").arg(gone);
  const QString left[] = {Game(3) + suffix, Links() + suffix};
  const QString kept[] = {Folder() + "/notes.txt" + suffix,
                          Game(4) + QString(".%1.new").arg(::getppid())};
  for (const QString& path : left) WriteFile(path, "cut short");
  for (const QString& path : kept) WriteFile(path, "cut short");
  ASSERT_EQ(store_.Save("game"), Game(1));
  for (const QString& path : left) EXPECT_FALSE(QFile::exists(path)) << path.toStdString();
  for (const QString& path : kept) EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
}

}  // namespace
}  // namespace kelvarok
