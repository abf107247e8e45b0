// Fuzzes WaveMixOpenWave on files, the path the game's mixer and
// kelvarok-mix convert take. The first byte picks the session's output
// format; the rest is written to a file that is then loaded by its path (a
// long one, so that the wave's name is cut to its field).
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz/wave_load.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  static const std::string path = (std::filesystem::temp_directory_path() /
                                   ("kelvarok-wave-file-fuzz-" + std::to_string(getpid()) + ".wav"))
                                      .string();
  {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
  }
  kelvarok::fuzz::LoadAndFree(data[0], path.c_str(), 0);
  std::filesystem::remove(path);
  return 0;
}
