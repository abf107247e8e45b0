// The committed PNGs are exactly what the generator draws today: a change to
// the art code without regenerating (kelvarok-art assets) fails here.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "assets/generator/icon_art.h"
#include "assets/generator/sprite_art.h"
#include "assets/sprite_strips.h"
#include "platform/png.h"

namespace kelvarok {
namespace {

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const SpriteSet& Drawn() {
  static const SpriteSet sprites = art::DrawSprites();
  return sprites;
}

TEST(CommittedArt, SpritePngsMatchTheGenerator) {
  for (const SpriteStrip& strip : kSpriteStrips) {
    SCOPED_TRACE(strip.name);
    const std::string path =
        std::string(KELVAROK_SOURCE_DIR "/assets/sprites/") + strip.name + ".png";
    const std::vector<std::uint8_t> committed = ReadBytes(path);
    ASSERT_FALSE(committed.empty()) << path;
    EXPECT_TRUE(EncodePng(Drawn().*strip.member) == committed) << path << " is out of date";
  }
}

TEST(CommittedArt, IconPngsMatchTheGenerator) {
  for (const int size : art::kIconSizes) {
    SCOPED_TRACE(size);
    const std::string path =
        std::string(KELVAROK_SOURCE_DIR "/assets/icons/kelvarok-") + std::to_string(size) + ".png";
    const std::vector<std::uint8_t> committed = ReadBytes(path);
    ASSERT_FALSE(committed.empty()) << path;
    EXPECT_TRUE(EncodePngWithAlpha(art::DrawIcon(size)) == committed) << path << " is out of date";
  }
}

TEST(CommittedArt, IconsAreOpaqueInTheMiddleAndClearInTheCorners) {
  for (const int size : art::kIconSizes) {
    SCOPED_TRACE(size);
    const Bitmap icon = art::DrawIcon(size);
    ASSERT_EQ(icon.width(), size);
    ASSERT_EQ(icon.height(), size);
    EXPECT_EQ(icon.at(size / 2, size / 2) >> 24, 0xFFu);
    EXPECT_EQ(icon.at(0, 0) >> 24, 0u);
    EXPECT_EQ(icon.at(size - 1, size - 1) >> 24, 0u);
  }
}

}  // namespace
}  // namespace kelvarok
