// Fuzzes the virtual controller's script parser. The first byte says where
// the rest is cut in two at a line's end, as a file read while it grows is:
// both pieces through one parser give what the whole gives at once. Events
// name real buttons and axes and their absolute times never go back; an
// error names a line of the input.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "sdl/controller_script.h"

using kelvarok::ControllerEvent;
using kelvarok::ControllerScriptError;
using kelvarok::ControllerScriptParser;
using kelvarok::fuzz::Check;

namespace {

using Parsed = std::variant<std::vector<ControllerEvent>, ControllerScriptError>;

bool Same(const Parsed& a, const Parsed& b) {
  const auto* ea = std::get_if<ControllerScriptError>(&a);
  const auto* eb = std::get_if<ControllerScriptError>(&b);
  if (ea != nullptr || eb != nullptr)
    return ea != nullptr && eb != nullptr && ea->line == eb->line && ea->reason == eb->reason;
  return std::get<0>(a) == std::get<0>(b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const Parsed whole = ControllerScriptParser().Parse(text);

  const std::size_t newline = text.find('\n', text.size() * data[0] / 256);
  const std::size_t cut = newline == std::string_view::npos ? text.size() : newline + 1;
  ControllerScriptParser reader;
  Parsed pieces = reader.Parse(text.substr(0, cut));
  if (const auto* first = std::get_if<std::vector<ControllerEvent>>(&pieces)) {
    Parsed rest = reader.Parse(text.substr(cut));
    if (auto* more = std::get_if<std::vector<ControllerEvent>>(&rest)) {
      std::vector<ControllerEvent> all = *first;
      all.insert(all.end(), more->begin(), more->end());
      pieces = all;
    } else {
      pieces = rest;
    }
  }
  Check(Same(whole, pieces), "a script read in two pieces is the script read whole");

  if (const auto* error = std::get_if<ControllerScriptError>(&whole)) {
    const auto lines = 1 + std::count(text.begin(), text.end(), '\n');
    Check(error->line >= 1 && error->line <= lines, "an error names a line of the input");
    Check(!error->reason.empty(), "an error says what is wrong");
    return 0;
  }
  std::uint32_t last = 0;
  for (const ControllerEvent& e : std::get<std::vector<ControllerEvent>>(whole)) {
    if (e.kind == ControllerEvent::Kind::Button)
      Check(e.button > SDL_CONTROLLER_BUTTON_INVALID && e.button < SDL_CONTROLLER_BUTTON_MAX,
            "a button of the controller");
    if (e.kind == ControllerEvent::Kind::Axis)
      Check(e.axis > SDL_CONTROLLER_AXIS_INVALID && e.axis < SDL_CONTROLLER_AXIS_MAX,
            "an axis of the controller");
    if (e.afterPrevious) continue;
    Check(e.ms >= last, "absolute times never go back");
    last = e.ms;
  }
  return 0;
}
