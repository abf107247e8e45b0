// PNG encoding and decoding: round trips, fixed output, every row filter, and
// damaged or unsupported files refused without reading past their end.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/png.h"

namespace kelvarok {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A seeded pattern with every byte value in use, so filters wrap around.
Bitmap Noise(int w, int h, std::uint32_t seed) {
  Bitmap b(w, h);
  for (Pixel& p : b.pixels()) {
    seed = seed * 1664525u + 1013904223u;
    p = 0xFF000000u | (seed >> 8);
  }
  return b;
}

void StoreU32(std::uint8_t* at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

// Chunks are written into buffers of their final size: GCC 12 at -O3 warns
// falsely about growing small vectors piece by piece.
Bytes Chunk(const char* type, const Bytes& data) {
  const auto len = static_cast<std::uint32_t>(data.size());
  Bytes out(data.size() + 12);
  StoreU32(&out[0], len);
  std::memcpy(&out[4], type, 4);
  if (!data.empty()) std::memcpy(&out[8], data.data(), data.size());
  StoreU32(&out[8 + data.size()], static_cast<std::uint32_t>(crc32(0, &out[4], len + 4)));
  return out;
}

Bytes Header(std::uint32_t w, std::uint32_t h, std::uint8_t depth = 8, std::uint8_t colour = 2,
             std::uint8_t compression = 0, std::uint8_t filter = 0, std::uint8_t interlace = 0) {
  Bytes data(13);
  StoreU32(&data[0], w);
  StoreU32(&data[4], h);
  data[8] = depth;
  data[9] = colour;
  data[10] = compression;
  data[11] = filter;
  data[12] = interlace;
  return Chunk("IHDR", data);
}

Bytes Compressed(const Bytes& raw) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  Bytes out(size);
  compress(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()));
  out.resize(size);
  return out;
}

Bytes Join(const std::vector<Bytes>& parts) {
  Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

// Filtered scanlines of the bitmap, row r with filter filters[r % size].
Bytes Filtered(const Bitmap& b, int channels, const std::vector<int>& filters) {
  const auto stride = static_cast<std::size_t>(b.width() * channels);
  std::vector<Bytes> rows;
  for (int y = 0; y < b.height(); ++y) {
    Bytes row;
    for (int x = 0; x < b.width(); ++x) {
      const Pixel p = b.at(x, y);
      row.insert(row.end(), {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                             static_cast<std::uint8_t>(p)});
      if (channels == 4) row.push_back(static_cast<std::uint8_t>(x * 7 + y));  // any alpha
    }
    rows.push_back(row);
  }
  Bytes out;
  const Bytes zeros(stride, 0);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const int filter = filters[r % filters.size()];
    const Bytes& cur = rows[r];
    const Bytes& up = r > 0 ? rows[r - 1] : zeros;
    out.push_back(static_cast<std::uint8_t>(filter));
    for (std::size_t i = 0; i < stride; ++i) {
      const auto bpp = static_cast<std::size_t>(channels);
      const int a = i >= bpp ? cur[i - bpp] : 0, b2 = up[i], c = i >= bpp ? up[i - bpp] : 0;
      int predictor = 0;
      if (filter == 1) predictor = a;
      if (filter == 2) predictor = b2;
      if (filter == 3) predictor = (a + b2) / 2;
      if (filter == 4) {
        const int p = a + b2 - c, pa = std::abs(p - a), pb = std::abs(p - b2), pc = std::abs(p - c);
        predictor = pa <= pb && pa <= pc ? a : pb <= pc ? b2 : c;
      }
      out.push_back(static_cast<std::uint8_t>(cur[i] - predictor));
    }
  }
  return out;
}

Bytes RawRgb(int w, int h) {
  return Filtered(Bitmap(w, h, Rgb(9, 8, 7)), 3, {0});
}

TEST(Png, RoundTripGivesTheSamePixels) {
  struct Case {
    const char* what;
    Bitmap bitmap;
  };
  const std::vector<Case> cases = {
      {"one black pixel", Bitmap(1, 1, kBlack)},
      {"one white pixel", Bitmap(1, 1, kWhite)},
      {"odd sizes", Noise(7, 3, 1)},
      {"a wide strip", Noise(972, 27, 2)},
      {"a tall column", Noise(1, 257, 3)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::optional<Bitmap> rgb = DecodePng(EncodePng(c.bitmap));
    ASSERT_TRUE(rgb.has_value());
    EXPECT_EQ(*rgb, c.bitmap);
    const std::optional<Bitmap> rgba = DecodePng(EncodePngWithAlpha(c.bitmap));
    ASSERT_TRUE(rgba.has_value());
    EXPECT_EQ(*rgba, c.bitmap);
  }
}

TEST(Png, EncodingIsFixedByThePixels) {
  const Bytes first = EncodePng(Noise(40, 30, 7));
  EXPECT_EQ(EncodePng(Noise(40, 30, 7)), first);
  EXPECT_NE(EncodePng(Noise(40, 30, 8)), first);
  const Bytes header = Join({Header(40, 30)});
  ASSERT_GE(first.size(), header.size());
  EXPECT_TRUE(std::equal(header.begin(), header.end(), first.begin()));
  const Bytes rgba_header = Join({Header(40, 30, 8, 6)});
  const Bytes rgba = EncodePngWithAlpha(Noise(40, 30, 7));
  EXPECT_TRUE(std::equal(rgba_header.begin(), rgba_header.end(), rgba.begin()));
}

TEST(Png, AlphaIsWrittenFromTheTopByte) {
  Bitmap b(2, 1);
  b.set(0, 0, 0x80112233u);
  b.set(1, 0, 0x00445566u);
  const Bytes png = EncodePngWithAlpha(b);
  const Bytes expected_raw = {0, 0x11, 0x22, 0x33, 0x80, 0x44, 0x55, 0x66, 0x00};
  // The IDAT payload starts after the signature (8), IHDR (25) and IDAT's length and type (8).
  const std::size_t idat_len = (std::size_t{png[33]} << 24) | (std::size_t{png[34]} << 16) |
                               (std::size_t{png[35]} << 8) | png[36];
  Bytes raw(expected_raw.size());
  uLongf raw_len = static_cast<uLongf>(raw.size());
  ASSERT_EQ(uncompress(raw.data(), &raw_len, png.data() + 41, static_cast<uLong>(idat_len)), Z_OK);
  EXPECT_EQ(raw, expected_raw);
}

TEST(Png, DecodesEveryRowFilter) {
  struct Case {
    const char* what;
    int channels;
    std::vector<int> filters;
  };
  const std::vector<Case> cases = {
      {"none", 3, {0}},       {"sub", 3, {1}},
      {"up", 3, {2}},         {"average", 3, {3}},
      {"paeth", 3, {4}},      {"mixed", 3, {0, 1, 2, 3, 4}},
      {"rgba paeth", 4, {4}}, {"rgba mixed", 4, {4, 3, 2, 1, 0}},
  };
  const Bitmap pixels = Noise(61, 37, 99);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::uint8_t colour = c.channels == 4 ? 6 : 2;
    const Bytes png = Join({Header(61, 37, 8, colour),
                            Chunk("IDAT", Compressed(Filtered(pixels, c.channels, c.filters))),
                            Chunk("IEND", {})});
    const std::optional<Bitmap> decoded = DecodePng(png);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, pixels);
  }
}

TEST(Png, AcceptsSplitDataAndSkipsAncillaryChunks) {
  const Bitmap pixels = Noise(5, 4, 3);
  const Bytes z = Compressed(Filtered(pixels, 3, {1}));
  const Bytes first(z.begin(), z.begin() + 7), rest(z.begin() + 7, z.end());
  const Bytes png = Join({Header(5, 4), Chunk("tEXt", {'h', 'i'}), Chunk("IDAT", first),
                          Chunk("IDAT", rest), Chunk("IEND", {})});
  const std::optional<Bitmap> decoded = DecodePng(png);
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(*decoded, pixels);
}

TEST(Png, RefusesDamagedAndUnsupportedFiles) {
  const Bytes good_idat = Chunk("IDAT", Compressed(RawRgb(3, 2)));
  const Bytes end = Chunk("IEND", {});
  auto flipped = [](Bytes b, std::size_t at) {
    b[at] ^= 0x01;
    return b;
  };
  const Bytes good = Join({Header(3, 2), good_idat, end});
  ASSERT_TRUE(DecodePng(good).has_value());
  Bytes raw_bad_filter = RawRgb(3, 2);
  raw_bad_filter[0] = 5;
  Bytes long_ihdr = Header(3, 2);
  long_ihdr[3] = 12;  // length field too short for the data that follows
  struct Case {
    const char* what;
    Bytes png;
  };
  const std::vector<Case> cases = {
      {"empty", {}},
      {"bad signature", flipped(good, 1)},
      {"bad header CRC", flipped(good, 8 + 4 + 4 + 13)},
      {"damaged header data", flipped(good, 8 + 8 + 2)},
      {"damaged image data", flipped(good, 8 + 25 + 8 + 2)},
      {"bad end CRC", flipped(good, good.size() - 1)},
      {"greyscale", Join({Header(3, 2, 8, 0), good_idat, end})},
      {"palette", Join({Header(3, 2, 8, 3), good_idat, end})},
      {"grey with alpha", Join({Header(3, 2, 8, 4), good_idat, end})},
      {"16-bit", Join({Header(3, 2, 16), good_idat, end})},
      {"1-bit", Join({Header(3, 2, 1), good_idat, end})},
      {"interlaced", Join({Header(3, 2, 8, 2, 0, 0, 1), good_idat, end})},
      {"unknown compression", Join({Header(3, 2, 8, 2, 1), good_idat, end})},
      {"unknown filter method", Join({Header(3, 2, 8, 2, 0, 1), good_idat, end})},
      {"zero width", Join({Header(0, 2), good_idat, end})},
      {"zero height", Join({Header(3, 0), good_idat, end})},
      {"too wide", Join({Header(16385, 1), good_idat, end})},
      {"huge with little data", Join({Header(16384, 16384), good_idat, end})},
      {"header length wrong", Join({long_ihdr, good_idat, end})},
      {"two headers", Join({Header(3, 2), Header(3, 2), good_idat, end})},
      {"data before header", Join({good_idat, Header(3, 2), end})},
      {"no image data", Join({Header(3, 2), end})},
      {"no end", Join({Header(3, 2), good_idat})},
      {"unknown critical chunk", Join({Header(3, 2), Chunk("ABCD", {1}), good_idat, end})},
      {"too few rows", Join({Header(3, 3), good_idat, end})},
      {"too many rows", Join({Header(3, 1), good_idat, end})},
      {"bad row filter", Join({Header(3, 2), Chunk("IDAT", Compressed(raw_bad_filter)), end})},
      {"not deflate", Join({Header(3, 2), Chunk("IDAT", RawRgb(3, 2)), end})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(DecodePng(c.png).has_value());
  }
}

// Each prefix is copied into a buffer of exactly its size, so a read past the
// end is caught by the address sanitizer.
TEST(Png, RefusesEveryTruncationWithoutReadingPastTheEnd) {
  const Bytes good = EncodePng(Noise(9, 5, 4));
  for (std::size_t n = 0; n < good.size(); ++n) {
    SCOPED_TRACE(n);
    const Bytes prefix(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
    EXPECT_FALSE(DecodePng(prefix).has_value());
  }
}

TEST(Png, FilesRoundTripAndAMissingFileGivesNothing) {
  const std::string path = ::testing::TempDir() + "kelvarok_png_test.png";
  const Bitmap pixels = Noise(6, 6, 5);
  ASSERT_TRUE(WritePngFile(path, pixels));
  const std::optional<Bitmap> read = ReadPngFile(path);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(*read, pixels);
  std::remove(path.c_str());
  EXPECT_FALSE(ReadPngFile(path).has_value());
}

}  // namespace
}  // namespace kelvarok
