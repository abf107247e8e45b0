#include "app/single_instance.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

namespace kelvarok {
namespace {

TEST(SingleInstance, TitleFollowsTheProgramFileName) {
  const struct {
    const char* path;
    const char* title;
  } cases[] = {
      {"/opt/KELVAROK.EXE", "Kelvarok"},
      {"/usr/bin/kelvarok", "kelvarok"},
      {"./Kelvarok.old.bin", "Kelvarok"},
      {"kelvarok2", "kelvarok2"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(TitleFromExecutable(c.path), c.title) << c.path;
}

class SingleInstanceTest : public ::testing::Test {
 protected:
  // Runs the event loop until done() or a deadline of event-loop turns.
  template <typename Done>
  static bool RunUntil(Done done) {
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(5000);
    while (!done() && deadline.isActive()) loop.processEvents(QEventLoop::WaitForMoreEvents);
    return done();
  }

  QTemporaryDir dir_;
};

TEST_F(SingleInstanceTest, ASecondCopyFindsTheFirstAndRaisesIt) {
  SingleInstance first(dir_.path(), "kelvarok", "Kelvarok");
  ASSERT_FALSE(first.PreviousInstance());
  QStringList tokens;
  first.OnRaiseRequest([&](const QString& token) { tokens << token; });

  SingleInstance second(dir_.path(), "kelvarok", "Kelvarok");
  EXPECT_TRUE(second.PreviousInstance());
  // The activation token travels with the request; one unfit to pass on to
  // the compositor arrives as none.
  const QStringList sent = {"", "kwin-1234_TIME5", "two words", QString(600, 'x'), "caf\u00e9"};
  for (const QString& token : sent) EXPECT_TRUE(second.RaiseRunningCopy(token)) << token.toStdString();
  EXPECT_TRUE(RunUntil([&] { return tokens.size() == sent.size(); }));
  EXPECT_EQ(tokens, (QStringList{"", "kwin-1234_TIME5", "", "", ""}));
}

TEST_F(SingleInstanceTest, ACopyUnderAnotherFileNameRunsOnItsOwn) {
  SingleInstance first(dir_.path(), "kelvarok", "Kelvarok");
  SingleInstance renamed(dir_.path(), "Kelvarok-copy", "Kelvarok");
  EXPECT_FALSE(renamed.PreviousInstance());
  // The first copy still answers under the title.
  int raised = 0;
  first.OnRaiseRequest([&](const QString&) { ++raised; });
  SingleInstance third(dir_.path(), "kelvarok", "Kelvarok");
  ASSERT_TRUE(third.PreviousInstance());
  EXPECT_TRUE(third.RaiseRunningCopy({}));
  EXPECT_TRUE(RunUntil([&] { return raised == 1; }));
}

TEST_F(SingleInstanceTest, ALockLeftByACrashedCopyIsTakenOver) {
  // A child takes the lock and dies without letting go of it.
  const QString lockPath = dir_.filePath("kelvarok.lock");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    auto* lock = new InstanceLock(lockPath);
    ::_exit(lock->HeldByAnother() ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_EQ(WEXITSTATUS(status), 0);
  ASSERT_TRUE(QFileInfo::exists(lockPath));

  SingleInstance next(dir_.path(), "kelvarok", "Kelvarok");
  EXPECT_FALSE(next.PreviousInstance());
}

TEST_F(SingleInstanceTest, AfterTheFirstCopyEndsANewStartRunsNormally) {
  { SingleInstance first(dir_.path(), "kelvarok", "Kelvarok"); }
  SingleInstance next(dir_.path(), "kelvarok", "Kelvarok");
  EXPECT_FALSE(next.PreviousInstance());
  SingleInstance second(dir_.path(), "kelvarok", "Kelvarok");
  EXPECT_TRUE(second.PreviousInstance());
}

}  // namespace
}  // namespace kelvarok
