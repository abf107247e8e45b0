// Feeds arbitrary bytes to DecodeReplay. Whatever it accepts must survive an
// encode and decode unchanged.
//
// Random changes almost always break the file's checksum or its deflated
// body, which the reader checks first; so when the first input byte is odd
// the rest of the input is taken as the body and wrapped in a good container
// (magic, format, lengths, deflate, CRC-32) before decoding, letting the
// fuzzer reach the body's fields. With an even first byte the bytes are
// decoded as they are.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "game/replay_file.h"

namespace {

void PutUnsigned(std::vector<std::uint8_t>& out, std::uint64_t value) {
  for (; value >= 0x80; value >>= 7) out.push_back(static_cast<std::uint8_t>(value | 0x80));
  out.push_back(static_cast<std::uint8_t>(value));
}

std::vector<std::uint8_t> Contained(const std::uint8_t* body, std::size_t size) {
  uLongf packedSize = compressBound(static_cast<uLong>(size));
  std::vector<std::uint8_t> packed(packedSize);
  compress2(packed.data(), &packedSize, body, static_cast<uLong>(size), 1);
  packed.resize(packedSize);
  std::vector<std::uint8_t> file{'K', 'V', 'R', 'P', kelvarok::kReplayFormatVersion};
  PutUnsigned(file, size);
  PutUnsigned(file, packed.size());
  file.insert(file.end(), packed.begin(), packed.end());
  const auto crc =
      static_cast<std::uint32_t>(crc32(0, file.data(), static_cast<uInt>(file.size())));
  for (int shift = 0; shift < 32; shift += 8)
    file.push_back(static_cast<std::uint8_t>(crc >> shift));
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::vector<std::uint8_t> file = (data[0] & 1)
                                             ? Contained(data + 1, size - 1)
                                             : std::vector<std::uint8_t>(data + 1, data + size);
  kelvarok::Replay replay;
  try {
    replay = kelvarok::DecodeReplay(file);
  } catch (const kelvarok::ReplayFileError&) {
    return 0;
  }
  kelvarok::fuzz::Check(kelvarok::DecodeReplay(kelvarok::EncodeReplay(replay)) == replay,
                        "a replay that was read is written and read back unchanged");
  return 0;
}
