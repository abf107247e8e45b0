// Feeds arbitrary bytes to DecodePng. Whatever it accepts must survive an
// encode and decode unchanged.
//
// Random changes to a PNG almost always break a chunk's CRC, which the decoder
// checks first; so when the first input byte is odd the rest of the input gets
// its chunk CRCs recomputed before decoding, letting the fuzzer reach the
// header, inflate and filter code. With an even first byte the bytes are
// decoded as they are.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

#include "platform/png.h"

namespace {

std::uint32_t GetU32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         std::uint32_t{p[3]};
}

void FixChunkCrcs(std::vector<std::uint8_t>& png) {
  std::size_t pos = 8;  // after the signature
  while (png.size() >= pos + 12) {
    const std::uint32_t len = GetU32(&png[pos]);
    if (len > png.size() - pos - 12) return;
    const uLong crc = crc32(0L, &png[pos + 4], static_cast<uInt>(len + 4));
    for (int i = 0; i < 4; ++i)
      png[pos + 8 + len + static_cast<std::size_t>(i)] =
          static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    pos += 12 + len;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::vector<std::uint8_t> png(data + 1, data + size);
  if (data[0] & 1) FixChunkCrcs(png);
  const std::optional<kelvarok::Bitmap> bitmap = kelvarok::DecodePng(png);
  if (!bitmap) return 0;
  const std::optional<kelvarok::Bitmap> again = kelvarok::DecodePng(kelvarok::EncodePng(*bitmap));
  if (!again || *again != *bitmap) std::abort();
  return 0;
}
