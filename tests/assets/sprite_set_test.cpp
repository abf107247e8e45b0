// The built-in sprite set as the game loads it: sizes, masks and colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "assets/sprites.h"
#include "tests/assets/frame_helpers.h"

namespace kelvarok {
namespace {

using testing::Blue;
using testing::FrameOf;
using testing::Green;
using testing::Loaded;
using testing::Red;

TEST(LoadSprites, StripsHaveTheSizesTheGameDrawsWith) {
  struct Case {
    const char* name;
    Bitmap SpriteSet::*member;
    int width, height;
  };
  const std::vector<Case> cases = {
      {"background", &SpriteSet::background, 750, 450},
      {"iship", &SpriteSet::iship, 972, 27},
      {"ishield", &SpriteSet::ishield, 972, 27},
      {"ishipfire", &SpriteSet::ishipfire, 972, 27},
      {"ishieldfire", &SpriteSet::ishieldfire, 972, 27},
      {"ishipmask", &SpriteSet::ishipmask, 972, 27},
      {"ishipfiremask", &SpriteSet::ishipfiremask, 972, 27},
      {"irockbig", &SpriteSet::irockbig, 696, 29},
      {"irockbigmask", &SpriteSet::irockbigmask, 696, 29},
      {"irockmedium", &SpriteSet::irockmedium, 504, 21},
      {"irockmediummask", &SpriteSet::irockmediummask, 504, 21},
      {"irocksmall", &SpriteSet::irocksmall, 312, 13},
      {"igrock", &SpriteSet::igrock, 312, 13},
      {"irocksmallmask", &SpriteSet::irocksmallmask, 312, 13},
      {"imissile", &SpriteSet::imissile, 3, 3},
      {"icrash1", &SpriteSet::icrash1, 486, 27},
      {"icrashmask1", &SpriteSet::icrashmask1, 486, 27},
      {"icrash2", &SpriteSet::icrash2, 486, 27},
      {"icrashmask2", &SpriteSet::icrashmask2, 486, 27},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ((Loaded().*c.member).width(), c.width);
    EXPECT_EQ((Loaded().*c.member).height(), c.height);
  }
}

// A mask lets the field show exactly where its sprite is black. One black
// pixel inside the sprite's body would be a see-through hole, one stray colour
// outside it would be painted over the stars. A mask that serves two strips is
// made for the plain one: the shield strips also paint their ring outside it,
// over the field, but leave no hole in it.
TEST(LoadSprites, MasksAreWhiteExactlyWhereTheSpriteIsBlack) {
  struct Case {
    const char* sprite;
    Bitmap SpriteSet::*member;
    Bitmap SpriteSet::*mask;
    bool paints_outside;
  };
  const std::vector<Case> cases = {
      {"iship", &SpriteSet::iship, &SpriteSet::ishipmask, false},
      {"ishield", &SpriteSet::ishield, &SpriteSet::ishipmask, true},
      {"ishipfire", &SpriteSet::ishipfire, &SpriteSet::ishipfiremask, false},
      {"ishieldfire", &SpriteSet::ishieldfire, &SpriteSet::ishipfiremask, true},
      {"irockbig", &SpriteSet::irockbig, &SpriteSet::irockbigmask, false},
      {"irockmedium", &SpriteSet::irockmedium, &SpriteSet::irockmediummask, false},
      {"irocksmall", &SpriteSet::irocksmall, &SpriteSet::irocksmallmask, false},
      {"igrock", &SpriteSet::igrock, &SpriteSet::irocksmallmask, false},
      {"icrash1", &SpriteSet::icrash1, &SpriteSet::icrashmask1, false},
      {"icrash2", &SpriteSet::icrash2, &SpriteSet::icrashmask2, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sprite);
    const Bitmap& sprite = Loaded().*c.member;
    const Bitmap& mask = Loaded().*c.mask;
    ASSERT_EQ(sprite.width(), mask.width());
    ASSERT_EQ(sprite.height(), mask.height());
    int holes = 0, strays = 0, body = 0;
    for (std::size_t i = 0; i < sprite.pixels().size(); ++i) {
      const bool clear = sprite.pixels()[i] == kBlack;
      body += !clear;
      holes += clear && mask.pixels()[i] != kWhite;
      strays += !clear && mask.pixels()[i] != kBlack;
    }
    EXPECT_EQ(holes, 0);
    if (!c.paints_outside) {
      EXPECT_EQ(strays, 0);
    }
    EXPECT_GT(body, 0);
  }
}

TEST(LoadSprites, MissileIsSolidYellow) {
  for (const Pixel p : Loaded().imissile.pixels()) EXPECT_EQ(p, Rgb(255, 255, 0));
}

bool IsFlame(Pixel p) {
  return Red(p) >= 150 && Red(p) - Blue(p) >= 100;
}
bool IsGreen(Pixel p) {
  return Green(p) >= Red(p) + 40 && Green(p) >= Blue(p) + 40;
}

int Count(const Bitmap& frame, const std::function<bool(Pixel)>& select) {
  return static_cast<int>(std::count_if(frame.pixels().begin(), frame.pixels().end(), select));
}

// The flame shows in the fire strips only and the green ring in the shield
// strips only, in every heading.
TEST(LoadSprites, FlameAndShieldShowInTheirStripsOnly) {
  struct Case {
    const char* name;
    Bitmap SpriteSet::*member;
    bool flame, green;
  };
  const std::vector<Case> cases = {
      {"iship", &SpriteSet::iship, false, false},
      {"ishield", &SpriteSet::ishield, false, true},
      {"ishipfire", &SpriteSet::ishipfire, true, false},
      {"ishieldfire", &SpriteSet::ishieldfire, true, true},
  };
  for (const Case& c : cases) {
    for (int heading = 0; heading < 36; ++heading) {
      SCOPED_TRACE(std::string(c.name) + " heading " + std::to_string(heading));
      const Bitmap frame = FrameOf(Loaded().*c.member, heading, 27);
      EXPECT_EQ(Count(frame, IsFlame) > 0, c.flame);
      EXPECT_EQ(Count(frame, IsGreen) > 20, c.green);
    }
  }
}

// Grey things are grey (no channel far from the others); the hard rock is green.
TEST(LoadSprites, RocksAndDebrisHaveTheirColours) {
  struct Case {
    const char* name;
    Bitmap SpriteSet::*member;
    bool green;
  };
  const std::vector<Case> cases = {
      {"irockbig", &SpriteSet::irockbig, false},
      {"irockmedium", &SpriteSet::irockmedium, false},
      {"irocksmall", &SpriteSet::irocksmall, false},
      {"igrock", &SpriteSet::igrock, true},
      {"icrash1", &SpriteSet::icrash1, false},
      {"icrash2", &SpriteSet::icrash2, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int off_colour = 0;
    for (const Pixel p : (Loaded().*c.member).pixels()) {
      if (p == kBlack) continue;
      const int spread =
          std::max({Red(p), Green(p), Blue(p)}) - std::min({Red(p), Green(p), Blue(p)});
      const bool ok = c.green ? Green(p) >= Red(p) && Green(p) >= Blue(p) : spread <= 32;
      off_colour += !ok;
    }
    EXPECT_EQ(off_colour, 0);
  }
}

TEST(LoadSprites, BackgroundIsBlackWithFaintAndBrightStars) {
  const Bitmap& field = Loaded().background;
  int lit = 0, faint = 0, bright = 0;
  for (const Pixel p : field.pixels()) {
    if (p == kBlack) continue;
    ++lit;
    const int level = std::max({Red(p), Green(p), Blue(p)});
    faint += level < 160;
    bright += level == 255;
  }
  EXPECT_GT(lit, 300);
  EXPECT_LT(lit, 2000);  // under 1 % of the field
  EXPECT_GT(faint, 100);
  EXPECT_GT(bright, 10);
}

}  // namespace
}  // namespace kelvarok
