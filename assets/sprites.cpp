#include "assets/sprites.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <span>
#include <utility>

#include "assets/sprite_strips.h"
#include "platform/png.h"

namespace kelvarok {

namespace embedded {
#define KELVAROK_DECLARE_EMBEDDED(name)            \
  extern const std::uint8_t sprite_##name##_png[]; \
  extern const std::size_t sprite_##name##_png_size;
KELVAROK_SPRITE_STRIPS(KELVAROK_DECLARE_EMBEDDED)
#undef KELVAROK_DECLARE_EMBEDDED
}  // namespace embedded

namespace {

struct EmbeddedPng {
  Bitmap SpriteSet::*member;
  const std::uint8_t* bytes;
  const std::size_t* size;
  const char* name;
};

#define KELVAROK_EMBEDDED_ENTRY(name)                          \
  EmbeddedPng{&SpriteSet::name, embedded::sprite_##name##_png, \
              &embedded::sprite_##name##_png_size, #name},
const std::array kEmbeddedPngs = {KELVAROK_SPRITE_STRIPS(KELVAROK_EMBEDDED_ENTRY)};
#undef KELVAROK_EMBEDDED_ENTRY

}  // namespace

SpriteSet LoadSprites() {
  SpriteSet sprites;
  for (const EmbeddedPng& png : kEmbeddedPngs) {
    std::optional<Bitmap> bitmap = DecodePng(std::span(png.bytes, *png.size));
    if (!bitmap) {
      std::fprintf(stderr, "kelvarok: the built-in picture %s.png is damaged\n", png.name);
      std::abort();
    }
    sprites.*png.member = std::move(*bitmap);
  }
  return sprites;
}

}  // namespace kelvarok
