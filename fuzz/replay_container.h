// Random changes almost always break a replay file's checksum or its deflated
// body, which the reader checks first; so when the first input byte is odd
// the rest of the input is taken as the body and wrapped in a good container
// (magic, format, rules revision, lengths, deflate, CRC-32), letting the
// fuzzer reach the body's fields. With an even first byte the rest is the
// file as it is.
#pragma once

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "game/replay_file.h"
#include "game/rules_revision.h"

namespace kelvarok::fuzz {

inline void PutUnsigned(std::vector<std::uint8_t>& out, std::uint64_t value) {
  for (; value >= 0x80; value >>= 7) out.push_back(static_cast<std::uint8_t>(value | 0x80));
  out.push_back(static_cast<std::uint8_t>(value));
}

inline std::vector<std::uint8_t> ReplayFileOf(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return {};
  if ((data[0] & 1) == 0) return {data + 1, data + size};
  const std::uint8_t* body = data + 1;
  --size;
  uLongf packedSize = compressBound(static_cast<uLong>(size));
  std::vector<std::uint8_t> packed(packedSize);
  compress2(packed.data(), &packedSize, body, static_cast<uLong>(size), 1);
  packed.resize(packedSize);
  std::vector<std::uint8_t> file{'K', 'V', 'R', 'P', kReplayFormatVersion};
  PutUnsigned(file, kRulesRevision);
  PutUnsigned(file, size);
  PutUnsigned(file, packed.size());
  file.insert(file.end(), packed.begin(), packed.end());
  const auto crc =
      static_cast<std::uint32_t>(crc32(0, file.data(), static_cast<uInt>(file.size())));
  for (int shift = 0; shift < 32; shift += 8)
    file.push_back(static_cast<std::uint8_t>(crc >> shift));
  return file;
}

}  // namespace kelvarok::fuzz
