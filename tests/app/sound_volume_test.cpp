#include "app/sound_volume.h"

#include <gtest/gtest.h>

namespace kelvarok {
namespace {

TEST(SoundVolume, SliderPositionsGiveTheLevelTable) {
  const std::uint16_t levels[] = {0,     6553,  13107, 19660, 26214, 32767,
                                  39321, 45874, 52428, 58981, 65535};
  for (int position = 0; position <= 10; ++position) {
    SCOPED_TRACE(position);
    EXPECT_EQ(VolumeLevel(position * 10), levels[position]);
    EXPECT_EQ(WaveVolume(position * 10),
              std::uint32_t{levels[position]} | (std::uint32_t{levels[position]} << 16));
  }
}

TEST(SoundVolume, StoredPercentagesOutsideTheRangeTakeTheNearerEnd) {
  const struct {
    std::int32_t percent;
    std::uint16_t level;
  } cases[] = {{-20, 0}, {-2147483647 - 1, 0}, {75, 49151}, {150, 65535}, {2147483647, 65535}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.percent);
    EXPECT_EQ(VolumeLevel(c.percent), c.level);
  }
}

}  // namespace
}  // namespace kelvarok
