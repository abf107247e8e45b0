#include "platform/png.h"

#include <zlib.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>

namespace kelvarok {

namespace {

constexpr std::size_t kMaxDeflateRatio = 1032;
constexpr std::array<std::uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

std::uint32_t GetU32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         std::uint32_t{p[3]};
}

void PutChunk(std::vector<std::uint8_t>& out, const char type[4],
              const std::vector<std::uint8_t>& data) {
  PutU32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t type_at = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  const uLong crc = crc32(0L, out.data() + type_at, static_cast<uInt>(data.size() + 4));
  PutU32(out, static_cast<std::uint32_t>(crc));
}

std::vector<std::uint8_t> Deflate(const std::vector<std::uint8_t>& raw) {
  z_stream zs{};
  deflateInit2(&zs, Z_BEST_COMPRESSION, Z_DEFLATED, 15, 9, Z_DEFAULT_STRATEGY);
  std::vector<std::uint8_t> out(deflateBound(&zs, static_cast<uLong>(raw.size())));
  zs.next_in = const_cast<Bytef*>(raw.data());
  zs.avail_in = static_cast<uInt>(raw.size());
  zs.next_out = out.data();
  zs.avail_out = static_cast<uInt>(out.size());
  deflate(&zs, Z_FINISH);
  out.resize(zs.total_out);
  deflateEnd(&zs);
  return out;
}

int Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

// Reverses the per-row filters in place; rows are stride bytes plus a filter byte.
bool Unfilter(std::vector<std::uint8_t>& data, std::size_t rows, std::size_t stride, int bpp) {
  std::vector<std::uint8_t> prev(stride, 0);
  for (std::size_t r = 0; r < rows; ++r) {
    std::uint8_t* row = &data[r * (stride + 1)];
    const std::uint8_t filter = row[0];
    std::uint8_t* px = row + 1;
    for (std::size_t i = 0; i < stride; ++i) {
      const int a = i >= static_cast<std::size_t>(bpp) ? px[i - static_cast<std::size_t>(bpp)] : 0;
      const int b = prev[i];
      const int c =
          i >= static_cast<std::size_t>(bpp) ? prev[i - static_cast<std::size_t>(bpp)] : 0;
      int add = 0;
      switch (filter) {
        case 0:
          break;
        case 1:
          add = a;
          break;
        case 2:
          add = b;
          break;
        case 3:
          add = (a + b) / 2;
          break;
        case 4:
          add = Paeth(a, b, c);
          break;
        default:
          return false;
      }
      px[i] = static_cast<std::uint8_t>(px[i] + add);
    }
    std::memcpy(prev.data(), px, stride);
  }
  return true;
}

std::vector<std::uint8_t> Encode(const Bitmap& bitmap, bool with_alpha) {
  const auto w = static_cast<std::size_t>(bitmap.width());
  const auto h = static_cast<std::size_t>(bitmap.height());
  const std::size_t channels = with_alpha ? 4 : 3;
  std::vector<std::uint8_t> raw;
  raw.reserve(h * (w * channels + 1));
  for (std::size_t y = 0; y < h; ++y) {
    raw.push_back(0);  // filter: none
    for (std::size_t x = 0; x < w; ++x) {
      const Pixel p = bitmap.pixels()[y * w + x];
      raw.push_back(static_cast<std::uint8_t>(p >> 16));
      raw.push_back(static_cast<std::uint8_t>(p >> 8));
      raw.push_back(static_cast<std::uint8_t>(p));
      if (with_alpha) raw.push_back(static_cast<std::uint8_t>(p >> 24));
    }
  }
  std::vector<std::uint8_t> out(kSignature.begin(), kSignature.end());
  std::vector<std::uint8_t> ihdr;
  PutU32(ihdr, static_cast<std::uint32_t>(w));
  PutU32(ihdr, static_cast<std::uint32_t>(h));
  const std::uint8_t colour_type = with_alpha ? 6 : 2;
  ihdr.insert(ihdr.end(), {8, colour_type, 0, 0, 0});  // 8-bit, deflate, adaptive, no interlace
  PutChunk(out, "IHDR", ihdr);
  PutChunk(out, "IDAT", Deflate(raw));
  PutChunk(out, "IEND", {});
  return out;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const Bitmap& bitmap) {
  return Encode(bitmap, false);
}

std::vector<std::uint8_t> EncodePngWithAlpha(const Bitmap& bitmap) {
  return Encode(bitmap, true);
}

std::optional<Bitmap> DecodePng(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kSignature.size() ||
      !std::equal(kSignature.begin(), kSignature.end(), bytes.begin()))
    return std::nullopt;
  std::size_t pos = kSignature.size();
  std::uint32_t width = 0, height = 0;
  int channels = 0;
  bool have_header = false, have_end = false;
  std::vector<std::uint8_t> idat;
  while (!have_end) {
    if (bytes.size() - pos < 12) return std::nullopt;
    const std::uint32_t len = GetU32(&bytes[pos]);
    if (len > bytes.size() - pos - 12) return std::nullopt;
    const std::uint8_t* type = &bytes[pos + 4];
    const std::uint8_t* data = &bytes[pos + 8];
    const uLong crc = crc32(0L, type, len + 4);
    if (GetU32(data + len) != static_cast<std::uint32_t>(crc)) return std::nullopt;
    if (std::memcmp(type, "IHDR", 4) == 0) {
      if (len != 13 || have_header) return std::nullopt;
      width = GetU32(data);
      height = GetU32(data + 4);
      const std::uint8_t depth = data[8], colour = data[9];
      if (depth != 8 || (colour != 2 && colour != 6) || data[10] != 0 || data[11] != 0 ||
          data[12] != 0)
        return std::nullopt;
      if (width == 0 || height == 0 || width > 16384 || height > 16384) return std::nullopt;
      channels = colour == 2 ? 3 : 4;
      have_header = true;
    } else if (std::memcmp(type, "IDAT", 4) == 0) {
      if (!have_header) return std::nullopt;
      idat.insert(idat.end(), data, data + len);
    } else if (std::memcmp(type, "IEND", 4) == 0) {
      have_end = true;
    } else if ((type[0] & 0x20) == 0) {
      return std::nullopt;  // an unknown critical chunk
    }
    pos += 12 + len;
  }
  if (!have_header) return std::nullopt;

  const std::size_t stride = std::size_t{width} * static_cast<std::size_t>(channels);
  const std::size_t raw_size = (stride + 1) * height;
  // Deflate cannot expand data more than about 1032 times; a header that claims
  // more pixels than the compressed data can hold is damaged, and is rejected
  // before the buffer for those pixels is allocated.
  if (raw_size / kMaxDeflateRatio > idat.size()) return std::nullopt;
  std::vector<std::uint8_t> raw(raw_size);
  uLongf raw_len = static_cast<uLongf>(raw.size());
  if (uncompress(raw.data(), &raw_len, idat.data(), static_cast<uLong>(idat.size())) != Z_OK ||
      raw_len != raw.size())
    return std::nullopt;
  if (!Unfilter(raw, height, stride, channels)) return std::nullopt;

  Bitmap bitmap(static_cast<int>(width), static_cast<int>(height));
  for (std::size_t y = 0; y < height; ++y) {
    const std::uint8_t* row = &raw[y * (stride + 1) + 1];
    for (std::size_t x = 0; x < width; ++x) {
      const std::uint8_t* p = row + x * static_cast<std::size_t>(channels);
      bitmap.set(static_cast<int>(x), static_cast<int>(y), Rgb(p[0], p[1], p[2]));
    }
  }
  return bitmap;
}

bool WritePngFile(const std::string& path, const Bitmap& bitmap) {
  const std::vector<std::uint8_t> bytes = EncodePng(bitmap);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

std::optional<Bitmap> ReadPngFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
  return DecodePng(bytes);
}

}  // namespace kelvarok
