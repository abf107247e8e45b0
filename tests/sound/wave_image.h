// RIFF WAVE images built in memory for tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/riff_reader.h"

namespace kelvarok::testing {

struct WaveSpec {
  std::uint16_t tag = 1;
  std::uint16_t channels = 1;
  std::uint32_t rate = 11025;
  std::uint16_t bits = 8;
  std::vector<std::uint8_t> data;
};

inline void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// One chunk: id, size, body and pad byte.
inline std::vector<std::uint8_t> Chunk(const std::string& id, const std::vector<std::uint8_t>& body,
                                       std::uint32_t claimed_size = 0xFFFFFFFF) {
  std::vector<std::uint8_t> chunk(id.begin(), id.end());
  PutLe(chunk, claimed_size == 0xFFFFFFFF ? static_cast<std::uint32_t>(body.size()) : claimed_size,
        4);
  chunk.insert(chunk.end(), body.begin(), body.end());
  if (body.size() % 2 == 1) chunk.push_back(0);
  return chunk;
}

inline std::vector<std::uint8_t> FormatBody(const WaveSpec& spec) {
  std::vector<std::uint8_t> body;
  const std::uint16_t align = static_cast<std::uint16_t>(spec.channels * ((spec.bits + 7) / 8));
  PutLe(body, spec.tag, 2);
  PutLe(body, spec.channels, 2);
  PutLe(body, spec.rate, 4);
  PutLe(body, spec.rate * align, 4);
  PutLe(body, align, 2);
  PutLe(body, spec.bits, 2);
  return body;
}

// "RIFF" size "WAVE" followed by the given chunks.
inline std::vector<std::uint8_t> Riff(const std::vector<std::vector<std::uint8_t>>& chunks,
                                      const std::string& form = "WAVE") {
  std::vector<std::uint8_t> inner(form.begin(), form.end());
  for (const auto& chunk : chunks) inner.insert(inner.end(), chunk.begin(), chunk.end());
  std::vector<std::uint8_t> image{'R', 'I', 'F', 'F'};
  PutLe(image, static_cast<std::uint32_t>(inner.size()), 4);
  image.insert(image.end(), inner.begin(), inner.end());
  return image;
}

// The usual layout: "fmt ", "data", then a "LIST" chunk.
inline std::vector<std::uint8_t> WaveImage(const WaveSpec& spec) {
  return Riff({Chunk("fmt ", FormatBody(spec)), Chunk("data", spec.data),
               Chunk("LIST", {'I', 'N', 'F', 'O'})});
}

inline MMIOINFO MemoryInfo(std::vector<std::uint8_t>& image) {
  MMIOINFO info;
  info.fccIOProc = FOURCC_MEM;
  info.pchBuffer = reinterpret_cast<char*>(image.data());
  info.cchBuffer = static_cast<std::int32_t>(image.size());
  return info;
}

inline std::vector<std::uint8_t> Ramp(std::size_t count, std::uint8_t start = 0) {
  std::vector<std::uint8_t> bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(start + i);
  return bytes;
}

}  // namespace kelvarok::testing
