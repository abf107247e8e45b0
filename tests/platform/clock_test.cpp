// The steady clock's readings and the instants at which they begin.
#include <gtest/gtest.h>

#include <chrono>

#include "platform/clock.h"

namespace kelvarok {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

TEST(SteadyClockTest, AReadingBeginsOnItsMillisecondBoundary) {
  struct Row {
    std::uint32_t ahead;            // the reading, this far past the current one
    milliseconds earliest, latest;  // where its instant lies from now
  };
  // Each row's bounds hold for any point inside the current millisecond.
  const Row rows[] = {
      {0, milliseconds(-1), milliseconds(0)},
      {1, milliseconds(0), milliseconds(1)},
      {40, milliseconds(39), milliseconds(40)},
      // A reading just behind the current one comes round again only after
      // the counter wraps.
      {0xFFFFFFFFu, milliseconds(0xFFFFFFFEll), milliseconds(0xFFFFFFFFll)},
  };
  SteadyClock clock;
  for (const Row& row : rows) {
    // A row counts only when the whole measurement fell inside one
    // millisecond: across a boundary "ahead" would be measured from another
    // reading. A busy machine crosses one now and then; it is tried again.
    bool measured = false;
    for (int attempt = 0; attempt < 1000 && !measured; ++attempt) {
      const std::uint32_t current = clock.timeGetTime();
      const auto before = steady_clock::now();
      const auto instant = clock.TimeOfReading(current + row.ahead);
      const auto after = steady_clock::now();
      if (clock.timeGetTime() != current) continue;
      measured = true;
      EXPECT_GE(instant - after, row.earliest) << row.ahead;
      EXPECT_LE(instant - before, row.latest) << row.ahead;
    }
    EXPECT_TRUE(measured) << row.ahead;
  }
}

}  // namespace
}  // namespace kelvarok
