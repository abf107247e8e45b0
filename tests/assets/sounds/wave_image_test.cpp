// The image builder refuses sizes it cannot meet with a well-formed image.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "assets/sounds/generator/wave_image.h"

namespace kelvarok::sfx {
namespace {

TEST(WaveImage, RefusesSizesThatCannotHoldAWellFormedImage) {
  const std::vector<std::uint8_t> samples(9, 128);  // padded to 10 in the image
  const WaveInfo info{"Name", "Comment", "Kelvarok"};
  // 54 bytes up to "LIST"; then "LIST" "INFO" 12, INAM 14, ISFT 18, ICMT at least 8 + 8.
  const std::size_t smallest = 54 + 12 + 14 + 18 + 16;
  struct Case {
    std::size_t image_size;
    bool fits;
  };
  for (const Case c : {Case{smallest, true}, Case{smallest + 40, true}, Case{smallest - 2, false},
                       Case{smallest + 1, false}}) {
    SCOPED_TRACE(c.image_size);
    if (c.fits) {
      EXPECT_EQ(BuildWaveImage(samples, 11025, info, c.image_size).size(), c.image_size);
    } else {
      EXPECT_THROW(BuildWaveImage(samples, 11025, info, c.image_size), std::length_error);
    }
  }
}

}  // namespace
}  // namespace kelvarok::sfx
