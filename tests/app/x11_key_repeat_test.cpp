// The application under X: a held key repeats as presses alone, so that a
// release always means the key was let go. Runs its own Xvfb, with the
// application on it.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QWidget>

#include "app/kelvarok_application.h"
#include "desktop_process.h"

namespace {

using namespace kelvarok::desktop_process;

// Counts the key events of Space.
class KeyCounter final : public QWidget {
 public:
  int presses = 0;
  int releases = 0;

 protected:
  void keyPressEvent(QKeyEvent* event) override { presses += event->key() == Qt::Key_Space; }
  void keyReleaseEvent(QKeyEvent* event) override { releases += event->key() == Qt::Key_Space; }
};

TEST(HeldKeysUnderX, RepeatAsPressesWithoutReleases) {
  XServer x;
  if (x.display().empty()) GTEST_SKIP() << "needs Xvfb and xdotool";
  ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  ::setenv("DISPLAY", x.display().c_str(), 1);
  int argc = 1;
  char name[] = "kelvarok-tests";
  char* argv[] = {name, nullptr};
  kelvarok::KelvarokApplication app(argc, argv);
  KeyCounter counter;
  counter.setWindowTitle("Key counter");
  counter.resize(200, 100);
  counter.show();
  const auto window = [&] {
    QCoreApplication::processEvents();
    return x.ShownWindow("^Key counter$");
  };
  std::optional<std::string> shown;
  ASSERT_TRUE(WaitFor([&] { return (shown = window()).has_value(); }));
  ASSERT_TRUE(x.Xdotool("windowfocus --sync " + *shown + " keydown space"));
  // The first press and ten repeats.
  EXPECT_TRUE(WaitFor([&] {
    QCoreApplication::processEvents();
    return counter.presses > 10;
  }));
  EXPECT_EQ(counter.releases, 0);
  ASSERT_TRUE(x.Xdotool("keyup space"));
  EXPECT_TRUE(WaitFor([&] {
    QCoreApplication::processEvents();
    return counter.releases == 1;
  }));
}

}  // namespace
