// Fuzzes the simulator's script parser: any bytes either parse into events
// whose times never go back and whose fields are in range, or give an error
// naming a line of the input.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sim/script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto parsed = kelvarok::sim::ParseScript(text);
  if (const auto* events = std::get_if<std::vector<kelvarok::sim::ScriptEvent>>(&parsed)) {
    for (std::size_t i = 0; i < events->size(); ++i) {
      const kelvarok::sim::ScriptEvent& e = (*events)[i];
      if (i > 0 && e.time < (*events)[i - 1].time) std::abort();
      if (e.joystick > 1 || e.vk < 0 || e.vk > 255) std::abort();
    }
  } else {
    const auto& error = std::get<kelvarok::sim::ScriptError>(parsed);
    const auto lines = 1 + std::count(text.begin(), text.end(), '\n');
    if (error.line < 1 || error.line > lines) std::abort();
  }
  return 0;
}
