// Field messages: two lines centred on the middle line, in the field's pixels;
// the window captions the flow writes.
#include <gtest/gtest.h>

#include "game/field_messages.h"
#include "game/flow_texts.h"
#include "tests/game/flow_test_support.h"

namespace kelvarok::testing {
namespace {

// The caption is the game's own text, built from the project's version: a new
// version must not change it unnoticed.
TEST(FlowTextsTest, CaptionsAreTheGamesOwnTexts) {
  const struct {
    std::string caption, expected;
  } cases[] = {
      {BaseCaptionText(), "Kelvarok 2.10"},
      {RoundCaption(BaseCaptionText(), 12), "Kelvarok 2.10 - Round 12"},
      {BonusCaption(BaseCaptionText()), "Kelvarok 2.10 - Bonus Round"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.caption, c.expected);
}

TEST(FieldMessagesTest, LinesAreCentredAboveAndBelowTheMiddle) {
  struct Case {
    std::string first, second;
    int x1, y1, x2, y2;
  };
  // Each character is 10 x 20 pixels on the 750 x 450 field.
  const Case cases[] = {
      {"Game Over", "", 330, 205, 375, 225},
      {"Player 1", "Round 12", 335, 205, 335, 225},
      {"Kill rate: 7 of 8", "", 290, 205, 375, 225},
      // Wider than the field: a negative x, truncated toward zero, clipped.
      {std::string(101, 'W'), "Pause", -130, 205, 350, 225},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.first);
    FixedTextPainter text;
    Bitmap field(750, 450);
    DrawCentredLines(text, field, 750, 450, c.first, c.second);
    ASSERT_EQ(text.drawn.size(), 2u);
    EXPECT_EQ(text.drawn[0].x, c.x1);
    EXPECT_EQ(text.drawn[0].y, c.y1);
    EXPECT_EQ(text.drawn[1].x, c.x2);
    EXPECT_EQ(text.drawn[1].y, c.y2);
  }
}

}  // namespace
}  // namespace kelvarok::testing
