// The field text as the simulator draws it with Qt: the metrics of the 27-pixel
// serif and plain yellow letters on an untouched background.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QGuiApplication>

#include "game/flow_host.h"
#include "qt/text/embedded_fonts.h"
#include "qt/text/qt_text_painter.h"

// Fontconfig keeps its caches to the end of the process; they are not ours.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace kelvarok {
namespace {

class FieldTextTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "qt_text_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: Qt's font cache must not be torn down after Qt Core's
    // thread storage at exit.
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
  }
};

TEST_F(FieldTextTest, TheFieldFontHasTimesNewRomansTwentyPointMetrics) {
  const QFont font = FieldFont();
  EXPECT_EQ(QFontInfo(font).family(), "Liberation Serif");
  QtTextPainter text(font, kYellow);
  // Times New Roman at lfHeight -27: ascent 24 + descent 6.
  EXPECT_EQ(text.TextExtentOf("Game Over").cy, 30);
  EXPECT_EQ(text.TextExtentOf("").cx, 0);
  EXPECT_GT(text.TextExtentOf("Bonus: 1000 points").cx, text.TextExtentOf("Pause").cx);
}

TEST_F(FieldTextTest, LettersArePlainYellowAndTheBackgroundShowsBetweenThem) {
  QtTextPainter text(FieldFont(), kYellow);
  const Pixel back = Rgb(10, 20, 30);
  Bitmap field(200, 60, back);
  const TextExtent e = text.TextExtentOf("Pause");
  text.TextOut(field, 20, 10, "Pause");
  int yellow = 0;
  for (int y = 0; y < field.height(); ++y)
    for (int x = 0; x < field.width(); ++x) {
      const Pixel p = field.at(x, y);
      ASSERT_TRUE(p == back || p == kYellow) << x << "," << y;
      if (p != kYellow) continue;
      ++yellow;
      EXPECT_TRUE(x >= 20 && x < 20 + e.cx && y >= 10 && y < 10 + e.cy) << x << "," << y;
    }
  EXPECT_GT(yellow, 50);
}

TEST_F(FieldTextTest, TextBeyondTheEdgesIsClipped) {
  QtTextPainter text(FieldFont(), kYellow);
  Bitmap field(40, 20, kBlack);
  text.TextOut(field, -30, -10, "Kill rate: 8 of 8");
  text.TextOut(field, 35, 15, "Game Over");
  EXPECT_EQ(field.width(), 40);
}

TEST_F(FieldTextTest, TheStatusFontsAreOcrA) {
  RegisterEmbeddedFonts();
  EXPECT_EQ(QFontInfo(StatusFont(23, false)).family(), "OCRA");
  EXPECT_TRUE(QFontInfo(StatusFont(15, true)).bold());
}

}  // namespace
}  // namespace kelvarok
