#include "assets/sounds/generator/wave_image.h"

#include <stdexcept>

namespace kelvarok::sfx {

namespace {

constexpr std::size_t kChunkHeader = 8;
constexpr std::size_t kRiffHeader = 12;  // "RIFF", size, "WAVE"
constexpr std::size_t kFormatBytes = 16;

class ImageWriter {
 public:
  explicit ImageWriter(std::size_t capacity) { bytes_.reserve(capacity); }

  void Tag(std::string_view four) { bytes_.insert(bytes_.end(), four.begin(), four.end()); }
  void U16(std::uint32_t value) {
    for (int shift = 0; shift < 16; shift += 8) Byte(value >> shift);
  }
  void U32(std::size_t value) {
    for (int shift = 0; shift < 32; shift += 8) Byte(value >> shift);
  }
  void Bytes(std::span<const std::uint8_t> data) {
    bytes_.insert(bytes_.end(), data.begin(), data.end());
  }
  // A chunk's body is padded to an even length with one zero byte.
  void PadToEven() {
    if (bytes_.size() % 2 != 0) bytes_.push_back(0);
  }
  // A NUL-terminated text sub-chunk whose body is exactly size (even) bytes.
  void TextChunk(std::string_view tag, std::string_view text, std::size_t size) {
    Tag(tag);
    U32(size);
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    bytes_.insert(bytes_.end(), size - text.size(), 0);
  }
  std::vector<std::uint8_t> Take() { return std::move(bytes_); }

 private:
  void Byte(std::size_t value) { bytes_.push_back(static_cast<std::uint8_t>(value & 0xFF)); }
  std::vector<std::uint8_t> bytes_;
};

std::size_t Padded(std::size_t size) {
  return size + size % 2;
}

// The room a NUL-terminated text takes as a sub-chunk of its own.
std::size_t TextChunkRoom(std::string_view text) {
  return kChunkHeader + Padded(text.size() + 1);
}

}  // namespace

std::vector<std::uint8_t> BuildWaveImage(std::span<const std::uint8_t> samples, std::uint32_t rate,
                                         const WaveInfo& info, std::size_t image_size) {
  const std::size_t before_list =
      kRiffHeader + kChunkHeader + kFormatBytes + kChunkHeader + Padded(samples.size());
  const std::size_t fixed_list =
      kChunkHeader + 4 + TextChunkRoom(info.name) + TextChunkRoom(info.software) + kChunkHeader;
  if (image_size < before_list + fixed_list + info.comment.size() + 1)
    throw std::length_error("the wave's texts do not fit into its image size");
  const std::size_t comment_size = image_size - before_list - fixed_list;
  if (comment_size % 2 != 0) throw std::length_error("an odd image size cannot be well formed");

  ImageWriter out(image_size);
  out.Tag("RIFF");
  out.U32(image_size - kChunkHeader);
  out.Tag("WAVE");

  out.Tag("fmt ");
  out.U32(kFormatBytes);
  out.U16(1);     // PCM
  out.U16(1);     // mono
  out.U32(rate);  // samples per second
  out.U32(rate);  // bytes per second
  out.U16(1);     // block align
  out.U16(8);     // bits per sample

  out.Tag("data");
  out.U32(samples.size());
  out.Bytes(samples);
  out.PadToEven();

  out.Tag("LIST");
  out.U32(image_size - before_list - kChunkHeader);
  out.Tag("INFO");
  out.TextChunk("INAM", info.name, Padded(info.name.size() + 1));
  out.TextChunk("ICMT", info.comment, comment_size);
  out.TextChunk("ISFT", info.software, Padded(info.software.size() + 1));
  return out.Take();
}

}  // namespace kelvarok::sfx
