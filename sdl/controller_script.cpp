#include "sdl/controller_script.h"

#include <charconv>
#include <limits>

namespace kelvarok {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

// The words of a line up to a comment.
std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (true) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i >= text.size() || text[i] == '#') return words;
    const std::size_t start = i;
    while (i < text.size() && !IsBlank(text[i])) ++i;
    words.push_back(text.substr(start, i - start));
  }
}

template <typename T>
bool ParseNumber(std::string_view word, T min, T max, T& value) {
  const char* end = word.data() + word.size();
  const auto [ptr, ec] = std::from_chars(word.data(), end, value);
  return ec == std::errc{} && ptr == end && value >= min && value <= max;
}

struct Parsed {
  ControllerEvent event;
  std::string error;
};

Parsed Fail(std::string reason) {
  return {{}, std::move(reason)};
}

std::string Quoted(std::string_view word) {
  // Built by appending: GCC 12 at -O2 warns wrongly (-Wrestrict) about
  // "'" + std::string.
  std::string quoted;
  quoted.reserve(word.size() + 2);
  quoted.append(1, '\'').append(word).append(1, '\'');
  return quoted;
}

Parsed ParseEvent(const std::vector<std::string_view>& words) {
  ControllerEvent e;
  std::string_view time = words[0];
  e.afterPrevious = time.starts_with('+');
  if (e.afterPrevious) time.remove_prefix(1);
  // from_chars takes a minus sign, which no time has.
  if (time.starts_with('-') ||
      !ParseNumber(time, std::uint32_t{0}, std::numeric_limits<std::uint32_t>::max(), e.ms))
    return Fail("bad time " + Quoted(words[0]));
  if (words.size() < 2) return Fail("missing event");
  const std::string_view kind = words[1];
  const std::size_t args = words.size() - 2;
  const auto expect = [&](std::size_t wanted, const char* usage) -> std::string {
    return args == wanted ? std::string() : std::string("expected '") + usage + "'";
  };
  // SDL's own names; it takes them in any case, the script in its own case only.
  const auto name = [&](std::size_t k) { return std::string(words[2 + k]); };
  if (kind == "button") {
    if (auto usage = expect(2, "button NAME down|up"); !usage.empty()) return Fail(usage);
    e.kind = ControllerEvent::Kind::Button;
    e.button = SDL_GameControllerGetButtonFromString(name(0).c_str());
    if (e.button == SDL_CONTROLLER_BUTTON_INVALID ||
        SDL_GameControllerGetStringForButton(e.button) != name(0))
      return Fail("unknown button " + Quoted(words[2]));
    if (words[3] != "down" && words[3] != "up") return Fail("expected 'down' or 'up'");
    e.down = words[3] == "down";
    return {e, {}};
  }
  if (kind == "axis") {
    if (auto usage = expect(2, "axis NAME VALUE"); !usage.empty()) return Fail(usage);
    e.kind = ControllerEvent::Kind::Axis;
    e.axis = SDL_GameControllerGetAxisFromString(name(0).c_str());
    if (e.axis == SDL_CONTROLLER_AXIS_INVALID ||
        SDL_GameControllerGetStringForAxis(e.axis) != name(0))
      return Fail("unknown axis " + Quoted(words[2]));
    if (!ParseNumber(words[3], std::int16_t{-32768}, std::int16_t{32767}, e.value))
      return Fail("axis value must be -32768 to 32767, not " + Quoted(words[3]));
    return {e, {}};
  }
  if (kind == "unplug" || kind == "plug") {
    if (args != 0) return Fail("unexpected " + Quoted(words[2]));
    e.kind = kind == "plug" ? ControllerEvent::Kind::Plug : ControllerEvent::Kind::Unplug;
    return {e, {}};
  }
  return Fail("unknown event " + Quoted(kind));
}

}  // namespace

std::variant<std::vector<ControllerEvent>, ControllerScriptError> ControllerScriptParser::Parse(
    std::string_view lines) {
  if (failed_) return ControllerScriptError{lineNumber_, "an earlier line was bad"};
  std::vector<ControllerEvent> events;
  while (!lines.empty()) {
    ++lineNumber_;
    const std::size_t end = lines.find('\n');
    const std::string_view raw = lines.substr(0, end);
    lines = end == std::string_view::npos ? std::string_view{} : lines.substr(end + 1);
    const std::vector<std::string_view> words = Words(raw);
    if (words.empty()) continue;
    Parsed parsed = ParseEvent(words);
    const ControllerEvent& e = parsed.event;
    if (parsed.error.empty() && !e.afterPrevious && e.ms < lastAbsoluteMs_)
      parsed.error = "time " + std::to_string(e.ms) + " goes back before " +
                     std::to_string(lastAbsoluteMs_) + " (use +MS or a later time)";
    if (!parsed.error.empty()) {
      failed_ = true;
      return ControllerScriptError{lineNumber_, std::move(parsed.error)};
    }
    if (!e.afterPrevious) lastAbsoluteMs_ = e.ms;
    events.push_back(e);
  }
  return events;
}

}  // namespace kelvarok
