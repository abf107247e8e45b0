// Feeds arbitrary bytes to DecodeReplay (see replay_container.h for the
// input's first byte). Whatever it accepts must survive an encode and decode
// unchanged.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "fuzz/replay_container.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> file = kelvarok::fuzz::ReplayFileOf(data, size);
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
