#include "app/settings_store.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <functional>

namespace kelvarok {
namespace {

class SettingsStoreTest : public ::testing::Test {
 protected:
  QString Path() const { return dir_.filePath("Ombrix/Kelvarok.conf"); }
  void WriteFile(const QByteArray& text) {
    QDir().mkpath(dir_.filePath("Ombrix"));
    QFile file(Path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }
  QByteArray ReadFile() const {
    QFile file(Path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  StoredSettings Load() const { return SettingsStore(Path()).Load(); }

  QTemporaryDir dir_;
};

TEST_F(SettingsStoreTest, FirstStartGivesTheDefaults) {
  const StoredSettings s = Load();
  EXPECT_EQ(s.FormWidth, 0);
  EXPECT_EQ(s.FormHeight, 0);
  EXPECT_FALSE(s.FormMaximized);
  EXPECT_TRUE(s.game.PhaserSounds && s.game.CrashSounds && s.game.ThrustSounds &&
              s.game.HyperSpaceSounds && s.game.BonusSounds);
  EXPECT_EQ(s.game.SoundVolume, 70);
  EXPECT_EQ(s.game.JoyStick1, 0);
  EXPECT_EQ(s.game.JoyStick2, 0);
  EXPECT_EQ(s.game.FireKey, 17);
  EXPECT_EQ(s.game.ThrustKey, 38);
  EXPECT_EQ(s.game.LeftKey, 37);
  EXPECT_EQ(s.game.RightKey, 39);
  EXPECT_EQ(s.game.HyperSpaceKey, 32);
  EXPECT_EQ(s.HiScores, HiScoreTable{});
}

TEST_F(SettingsStoreTest, EverythingSavedReadsBack) {
  StoredSettings s;
  s.FormWidth = 900;
  s.FormHeight = 640;
  s.FormMaximized = true;
  s.game.PhaserSounds = false;
  s.game.BonusSounds = false;
  s.game.SoundVolume = 30;
  s.game.JoyStick1 = 2;
  s.game.JoyStick2 = -1;
  s.game.FireKey = 101;
  s.game.HyperSpaceKey = 65535;
  for (int i = 1; i <= kHiScorePlaces; ++i)
    s.HiScores[i] = {1000 - i, i + 1, "Pl\xe4yer; \"" + std::to_string(i) + "\", =@x"};
  ASSERT_EQ(SettingsStore(Path()).Save(s), std::nullopt);

  const StoredSettings back = Load();
  EXPECT_EQ(back.FormWidth, 900);
  EXPECT_EQ(back.FormHeight, 640);
  EXPECT_TRUE(back.FormMaximized);
  EXPECT_FALSE(back.game.PhaserSounds);
  EXPECT_TRUE(back.game.CrashSounds);
  EXPECT_FALSE(back.game.BonusSounds);
  EXPECT_EQ(back.game.SoundVolume, 30);
  EXPECT_EQ(back.game.JoyStick1, 2);
  EXPECT_EQ(back.game.JoyStick2, -1);
  EXPECT_EQ(back.game.FireKey, 101);
  EXPECT_EQ(back.game.HyperSpaceKey, 65535);
  EXPECT_EQ(back.HiScores, s.HiScores);
}

TEST_F(SettingsStoreTest, ASaveWritesAll46ValuesAsStrings) {
  ASSERT_EQ(SettingsStore(Path()).Save(StoredSettings{}), std::nullopt);
  QSettings file(Path(), QSettings::IniFormat);
  const QStringList keys = file.childKeys();
  EXPECT_EQ(keys.size(), 46);
  for (const char* name :
       {"FormWidth", "FormHeight", "FormMaximized", "PhaserSounds", "CrashSounds", "ThrustSounds",
        "HyperSpaceSounds", "BonusSounds", "SoundVolume", "Joystick1", "Joystick2", "FireKey",
        "ThrustKey", "LeftKey", "RightKey", "HyperSpaceKey", "Score1", "Round10", "Name10"})
    EXPECT_TRUE(keys.contains(name)) << name;
  EXPECT_EQ(file.value("SoundVolume").toString(), "70");
  EXPECT_EQ(file.value("FormMaximized").toString(), "0");
  EXPECT_EQ(file.value("PhaserSounds").toString(), "1");
  EXPECT_EQ(file.value("Name1").toString(), "");
}

TEST_F(SettingsStoreTest, ReadRulesOfStoredTexts) {
  const struct {
    const char* line;
    std::function<bool(const StoredSettings&)> holds;
  } cases[] = {
      {"FireKey=65553", [](auto& s) { return s.game.FireKey == 17; }},
      {"FireKey=-1", [](auto& s) { return s.game.FireKey == 65535; }},
      {"FireKey=abc", [](auto& s) { return s.game.FireKey == 17; }},
      {"FormMaximized=2", [](auto& s) { return s.FormMaximized; }},
      {"FormMaximized=yes", [](auto& s) { return !s.FormMaximized; }},
      {"PhaserSounds=0", [](auto& s) { return !s.game.PhaserSounds; }},
      {"PhaserSounds=", [](auto& s) { return s.game.PhaserSounds; }},
      {"SoundVolume=-20", [](auto& s) { return s.game.SoundVolume == -20; }},
      {"SoundVolume=99999999999", [](auto& s) { return s.game.SoundVolume == 70; }},
      {"joystick1=2", [](auto& s) { return s.game.JoyStick1 == 2; }},
      {"JOYSTICK2=1", [](auto& s) { return s.game.JoyStick2 == 1; }},
      {"Name1=abcdefghijklmnopqrstuvwxy",
       [](auto& s) { return s.HiScores[1].Name == "abcdefghijklmnopqrst"; }},
      {"Name2=\\xe9t\\xe9", [](auto& s) { return s.HiScores[2].Name == "\xe9t\xe9"; }},
      // Values that are not strings count as absent.
      {"SoundVolume=10, 20", [](auto& s) { return s.game.SoundVolume == 70; }},
      {"SoundVolume=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x1e)",
       [](auto& s) { return s.game.SoundVolume == 70; }},
      {"Score3=@Invalid()", [](auto& s) { return s.HiScores[3].Score == 0; }},
      {"FormWidth=0", [](auto& s) { return s.FormWidth == 0; }},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    // A file of its own for each case: QSettings caches files by name.
    const QString path = dir_.filePath(QString("case%1.conf").arg(n++));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("[General]\n") + c.line + "\n");
    file.close();
    EXPECT_TRUE(c.holds(SettingsStore(path).Load()));
  }
}

TEST_F(SettingsStoreTest, AShortenedNameIsWhatTheNextSaveWrites) {
  WriteFile("[General]\nName1=abcdefghijklmnopqrstuvwxy\n");
  const StoredSettings s = Load();
  ASSERT_EQ(SettingsStore(Path()).Save(s), std::nullopt);
  EXPECT_EQ(QSettings(Path(), QSettings::IniFormat).value("Name1").toString(),
            "abcdefghijklmnopqrst");
}

TEST_F(SettingsStoreTest, AValueUnderAnotherSpellingIsReplacedNotDoubled) {
  WriteFile("[General]\nJoyStick1=2\n");
  StoredSettings s = Load();
  ASSERT_EQ(s.game.JoyStick1, 2);
  s.game.JoyStick1 = 1;
  ASSERT_EQ(SettingsStore(Path()).Save(s), std::nullopt);
  const QStringList keys = QSettings(Path(), QSettings::IniFormat).childKeys();
  EXPECT_TRUE(keys.contains("Joystick1"));
  EXPECT_FALSE(keys.contains("JoyStick1"));
  EXPECT_EQ(Load().game.JoyStick1, 1);
}

TEST_F(SettingsStoreTest, ASaveThatCannotWriteNamesTheFirstValueAndKeepsTheOldFile) {
  // The store's directory is a file: nothing can be created in it, even by root.
  QFile blocker(dir_.filePath("blocked"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  EXPECT_EQ(SettingsStore(dir_.filePath("blocked/Kelvarok.conf")).Save(StoredSettings{}),
            std::optional<std::string>("FormWidth"));
}

// What cannot be read is never overwritten: it may hold a table that the
// defaults would replace. Nothing blocks on a FIFO or reads without end.
TEST_F(SettingsStoreTest, AFileThatCannotBeReadGivesTheDefaultsAndIsLeftAlone) {
  const auto fifo = [&] { ASSERT_EQ(::mkfifo(QFile::encodeName(Path()).constData(), 0600), 0); };
  const auto directory = [&] { ASSERT_TRUE(QDir().mkpath(Path())); };
  const auto large = [&] {
    WriteFile("[General]\nSoundVolume=40\n");
    ASSERT_TRUE(QFile::resize(Path(), 2 << 20));
  };
  const struct {
    std::function<void()> make;
    const char* problem;
  } cases[] = {
      {fifo, "not a regular file"},
      {directory, "not a regular file"},
      {large, "larger than 1048576 bytes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.problem);
    QDir(dir_.filePath("Ombrix")).removeRecursively();
    QDir().mkpath(dir_.filePath("Ombrix"));
    c.make();
    const QFileInfo before(Path());
    const SettingsStore store(Path());
    EXPECT_EQ(store.ReadProblem(), std::optional<std::string>(c.problem));
    EXPECT_EQ(store.Load().game.SoundVolume, 70);
    EXPECT_EQ(store.Save(StoredSettings{}), std::nullopt);
    const QFileInfo after(Path());
    EXPECT_EQ(after.isDir(), before.isDir());
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(after.lastModified(), before.lastModified());
    EXPECT_EQ(QDir(dir_.filePath("Ombrix"))
                  .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
              QStringList{"Kelvarok.conf"});
  }
}

TEST_F(SettingsStoreTest, ALinkedFileIsWrittenThroughItsLink) {
  const QString target = dir_.filePath("dotfiles/kelvarok.conf");
  QDir().mkpath(dir_.filePath("dotfiles"));
  QDir().mkpath(dir_.filePath("Ombrix"));
  ASSERT_TRUE(QFile::link(target, Path()));  // a link to a file not there yet
  StoredSettings s;
  // Files of different sizes: QSettings keeps what it read of a path until the
  // file's size or time changes, and two saves may fall in one tick of the
  // file system's clock.
  for (const int volume : {40, 100}) {
    s.game.SoundVolume = volume;
    ASSERT_EQ(SettingsStore(Path()).Save(s), std::nullopt);
    EXPECT_TRUE(QFileInfo(Path()).isSymLink());
    EXPECT_EQ(QSettings(target, QSettings::IniFormat).value("SoundVolume").toString(),
              QString::number(volume));
    EXPECT_EQ(Load().game.SoundVolume, volume);
  }
}

// QSettings reads "[general]" in any case as [General]: a value there is read
// once, and the save puts the program's own value in its place.
TEST_F(SettingsStoreTest, AGeneralSectionInAnotherCaseIsReadOnceThenReplaced) {
  WriteFile(
      "[General]\nSoundVolume=40\n[general]\nSoundVolume=10\nOther=kept\n"
      "[GENERAL]\nFireKey=32\n[Mine]\nSoundVolume=5\n");
  StoredSettings s = Load();
  EXPECT_EQ(s.game.SoundVolume, 10);
  EXPECT_EQ(s.game.FireKey, 32);
  s.game.SoundVolume = 90;
  s.game.FireKey = 17;
  ASSERT_EQ(SettingsStore(Path()).Save(s), std::nullopt);
  EXPECT_EQ(Load().game.SoundVolume, 90);
  EXPECT_EQ(Load().game.FireKey, 17);
  QSettings file(Path(), QSettings::IniFormat);
  EXPECT_EQ(file.value("Other").toString(), "kept");
  EXPECT_EQ(file.value("Mine/SoundVolume").toString(), "5");
  EXPECT_EQ(ReadFile().toLower().count("[general]"), 1);
}

// A process killed while saving leaves its temporary file; the next save
// removes it, and never one of a process that still runs.
TEST_F(SettingsStoreTest, ASaveRemovesTheTemporaryFilesOfKilledSaves) {
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ASSERT_EQ(::waitpid(gone, nullptr, 0), gone);
  const QString left = Path() + QString(".%1.new").arg(gone);
  const QString running = Path() + QString(".%1.new").arg(::getppid());
  const QString foreign = dir_.filePath("Ombrix/Other.conf") + QString(".%1.new").arg(gone);
  for (const QString& path : {left, running, foreign}) {
    QDir().mkpath(dir_.filePath("Ombrix"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  ASSERT_EQ(SettingsStore(Path()).Save(StoredSettings{}), std::nullopt);
  EXPECT_FALSE(QFile::exists(left));
  EXPECT_TRUE(QFile::exists(running));
  EXPECT_TRUE(QFile::exists(foreign));
}

TEST_F(SettingsStoreTest, ASaveReplacesTheFileWholeAndLeavesNoTemporaryFiles) {
  WriteFile("[General]\nSoundVolume=40\nOther=kept\n");
  StoredSettings s = Load();
  s.game.SoundVolume = 90;
  ASSERT_EQ(SettingsStore(Path()).Save(s), std::nullopt);
  QSettings file(Path(), QSettings::IniFormat);
  EXPECT_EQ(file.value("SoundVolume").toString(), "90");
  EXPECT_EQ(file.value("Other").toString(), "kept");
  const QStringList left = QDir(dir_.filePath("Ombrix")).entryList(QDir::Files | QDir::Hidden);
  for (const QString& name : left)
    EXPECT_TRUE(name == "Kelvarok.conf" || name == "Kelvarok.conf.lock") << name.toStdString();
}

}  // namespace
}  // namespace kelvarok
