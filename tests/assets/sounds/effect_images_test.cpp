// The five effect images: every RIFF field the mixer's loader depends on, the
// closing "LIST" chunk, the generator's reproducibility and the embedding.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "assets/sounds/effect_sounds.h"
#include "assets/sounds/generator/effect_recordings.h"
#include "tests/assets/sounds/committed_effects.h"

namespace kelvarok {
namespace {

using testing::kExpectedEffects;
using testing::ReadCommittedEffect;
using testing::TagAt;
using testing::U16At;
using testing::U32At;

TEST(EffectImages, HeaderAndFormatFieldsMatchTheTable) {
  for (const testing::ExpectedEffect& effect : kExpectedEffects) {
    SCOPED_TRACE(effect.file);
    const std::vector<std::uint8_t> image = ReadCommittedEffect(effect.file);
    ASSERT_EQ(image.size(), effect.image_bytes);
    EXPECT_EQ(TagAt(image, 0), "RIFF");
    EXPECT_EQ(U32At(image, 4), effect.image_bytes - 8);
    EXPECT_EQ(TagAt(image, 8), "WAVE");
    EXPECT_EQ(TagAt(image, 12), "fmt ");
    EXPECT_EQ(U32At(image, 16), 16u);
    EXPECT_EQ(U16At(image, 20), 1u) << "PCM";
    EXPECT_EQ(U16At(image, 22), 1u) << "channels";
    EXPECT_EQ(U32At(image, 24), effect.rate) << "samples per second";
    EXPECT_EQ(U32At(image, 28), effect.rate) << "bytes per second";
    EXPECT_EQ(U16At(image, 32), 1u) << "block align";
    EXPECT_EQ(U16At(image, 34), 8u) << "bits per sample";
    EXPECT_EQ(TagAt(image, 36), "data");
    EXPECT_EQ(U32At(image, 40), effect.data_bytes);
  }
}

// An odd "data" chunk is followed by a zero pad byte, and the "LIST" "INFO"
// chunk behind it ends exactly at the end of the image, its texts fitting.
TEST(EffectImages, PaddedDataThenInfoListLast) {
  for (const testing::ExpectedEffect& effect : kExpectedEffects) {
    SCOPED_TRACE(effect.file);
    const std::vector<std::uint8_t> image = ReadCommittedEffect(effect.file);
    ASSERT_EQ(image.size(), effect.image_bytes);
    const std::size_t list = 44 + effect.data_bytes + effect.data_bytes % 2;
    if (effect.data_bytes % 2 != 0) {
      EXPECT_EQ(image[list - 1], 0) << "pad byte";
    }
    ASSERT_LE(list + 12, image.size());
    EXPECT_EQ(TagAt(image, list), "LIST");
    EXPECT_EQ(list + 8 + U32At(image, list + 4), image.size());
    EXPECT_EQ(TagAt(image, list + 8), "INFO");

    std::vector<std::string> tags;
    std::size_t at = list + 12;
    while (at + 8 <= image.size()) {
      const std::size_t size = U32At(image, at + 4);
      ASSERT_LE(at + 8 + size, image.size()) << TagAt(image, at);
      EXPECT_GT(size, 1u) << TagAt(image, at);
      EXPECT_EQ(image[at + 8 + size - 1], 0) << TagAt(image, at) << " ends in a NUL";
      EXPECT_NE(image[at + 8], 0) << TagAt(image, at) << " has text";
      tags.push_back(TagAt(image, at));
      at += 8 + size + size % 2;
    }
    EXPECT_EQ(at, image.size());
    EXPECT_EQ(tags, (std::vector<std::string>{"INAM", "ICMT", "ISFT"}));
  }
}

TEST(EffectImages, GeneratorReproducesTheCommittedFiles) {
  ASSERT_EQ(sfx::kEffectRecordings.size(), std::size(kExpectedEffects));
  for (std::size_t n = 0; n < sfx::kEffectRecordings.size(); ++n) {
    const sfx::EffectRecording& recording = sfx::kEffectRecordings[n];
    SCOPED_TRACE(recording.file);
    EXPECT_STREQ(recording.file, kExpectedEffects[n].file) << "effect number " << n;
    EXPECT_TRUE(sfx::BuildEffectImage(recording) == ReadCommittedEffect(recording.file))
        << recording.file << " is out of date: run kelvarok-sfx assets/sounds";
  }
}

TEST(EffectImages, EmbeddedImagesAreTheCommittedFilesByEffectNumber) {
  for (int n = 0; n < kEffectSoundCount; ++n) {
    SCOPED_TRACE(n);
    const std::vector<std::uint8_t> committed =
        ReadCommittedEffect(kExpectedEffects[static_cast<std::size_t>(n)].file);
    const std::span<const std::uint8_t> embedded = EffectSoundImage(n);
    ASSERT_FALSE(committed.empty());
    EXPECT_TRUE(std::ranges::equal(embedded, committed));
  }
  EXPECT_TRUE(EffectSoundImage(-1).empty());
  EXPECT_TRUE(EffectSoundImage(kEffectSoundCount).empty());
}

}  // namespace
}  // namespace kelvarok
