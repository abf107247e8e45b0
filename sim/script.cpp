#include "sim/script.h"

#include <charconv>
#include <limits>

#include "sim/latin1.h"

namespace kelvarok::sim {

namespace {

// The words of a line up to a comment; the text after "name " is taken whole.
struct Line {
  std::vector<std::string_view> words;
  std::string_view rest;  // everything after the second word and one blank
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

Line Split(std::string_view text) {
  Line line;
  std::size_t i = 0;
  while (true) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i >= text.size() || text[i] == '#') break;
    const std::size_t start = i;
    while (i < text.size() && !IsBlank(text[i])) ++i;
    line.words.push_back(text.substr(start, i - start));
    if (line.words.size() == 2) {
      line.rest = i < text.size() ? text.substr(i + 1) : std::string_view{};
      if (!line.rest.empty() && line.rest.back() == '\r') line.rest.remove_suffix(1);
    }
  }
  return line;
}

template <typename T>
bool ParseNumber(std::string_view word, T max, T& value) {
  const char* end = word.data() + word.size();
  const auto [ptr, ec] = std::from_chars(word.data(), end, value);
  return ec == std::errc{} && ptr == end && value <= max;
}

struct Parsed {
  ScriptEvent event;
  std::string error;
};

Parsed Fail(std::string reason) {
  return {{}, std::move(reason)};
}

Parsed ParseEvent(const Line& line) {
  ScriptEvent e;
  if (!ParseNumber(line.words[0], std::numeric_limits<std::uint32_t>::max(), e.time))
    return Fail("bad time '" + std::string(line.words[0]) + "'");
  if (line.words.size() < 2) return Fail("missing event");
  const std::string_view kind = line.words[1];
  const std::size_t args = line.words.size() - 2;
  const auto arg = [&](std::size_t k) { return line.words[2 + k]; };
  const auto argCount = [&](std::size_t wanted, const char* usage) -> std::string {
    if (args == wanted) return {};
    return std::string("expected '") + usage + "'";
  };

  if (kind == "name") {
    e.kind = ScriptEvent::Kind::Name;
    const auto latin1 = Latin1FromUtf8(line.rest);
    if (!latin1) return Fail("name is not valid UTF-8");
    e.name = *latin1;
    return {e, {}};
  }
  if (kind == "menu") {
    if (auto usage = argCount(1, "menu ITEM"); !usage.empty()) return Fail(usage);
    e.kind = ScriptEvent::Kind::Menu;
    for (const MenuItem item : kMenuItems)
      if (MenuItemName(item) == arg(0)) {
        e.item = item;
        return {e, {}};
      }
    return Fail("unknown menu item '" + std::string(arg(0)) + "'");
  }
  if (kind == "key") {
    if (auto usage = argCount(2, "key VK down|up"); !usage.empty()) return Fail(usage);
    e.kind = ScriptEvent::Kind::Key;
    std::uint32_t vk = 0;
    if (!ParseNumber<std::uint32_t>(arg(0), 255, vk))
      return Fail("bad virtual-key code '" + std::string(arg(0)) + "'");
    e.vk = static_cast<int>(vk);
    if (arg(1) != "down" && arg(1) != "up") return Fail("expected 'down' or 'up'");
    e.down = arg(1) == "down";
    return {e, {}};
  }
  if (kind == "joy") {
    const bool unplugged = args == 2 && arg(1) == "unplugged";
    if (args != 4 && !unplugged) return Fail("expected 'joy ID X Y BUTTONS' or 'joy ID unplugged'");
    e.kind = ScriptEvent::Kind::Joy;
    if (!ParseNumber<std::uint32_t>(arg(0), 1, e.joystick))
      return Fail("joystick ID must be 0 or 1");
    e.unplugged = unplugged;
    if (unplugged) return {e, {}};
    if (!ParseNumber<std::uint32_t>(arg(1), 65535, e.joy.wXpos) ||
        !ParseNumber<std::uint32_t>(arg(2), 65535, e.joy.wYpos))
      return Fail("joystick position must be 0 to 65535");
    if (!ParseNumber(arg(3), std::numeric_limits<std::uint32_t>::max(), e.joy.wButtons))
      return Fail("bad button bits '" + std::string(arg(3)) + "'");
    return {e, {}};
  }
  if (kind == "focus") {
    if (auto usage = argCount(1, "focus lost|gained"); !usage.empty()) return Fail(usage);
    e.kind = ScriptEvent::Kind::Focus;
    if (arg(0) != "lost" && arg(0) != "gained") return Fail("expected 'lost' or 'gained'");
    e.gained = arg(0) == "gained";
    return {e, {}};
  }
  if (kind == "name-cancel" || kind == "close") {
    if (args != 0) return Fail("unexpected '" + std::string(arg(0)) + "'");
    e.kind = kind == "close" ? ScriptEvent::Kind::Close : ScriptEvent::Kind::NameCancel;
    return {e, {}};
  }
  return Fail("unknown event '" + std::string(kind) + "'");
}

}  // namespace

std::string_view MenuItemName(MenuItem item) {
  switch (item) {
    case MenuItem::N1Playerstart1:
      return "N1Playerstart1";
    case MenuItem::N2Playerstart1:
      return "N2Playerstart1";
    case MenuItem::Pause1:
      return "Pause1";
    case MenuItem::Quitgame1:
      return "Quitgame1";
    case MenuItem::Highscores1:
      return "Highscores1";
    case MenuItem::Exit1:
      return "Exit1";
  }
  return "";
}

std::variant<std::vector<ScriptEvent>, ScriptError> ParseScript(std::string_view text) {
  std::vector<ScriptEvent> events;
  int number = 0;
  while (!text.empty()) {
    ++number;
    const std::size_t end = text.find('\n');
    const std::string_view raw = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    const Line line = Split(raw);
    if (line.words.empty()) continue;
    Parsed parsed = ParseEvent(line);
    if (!parsed.error.empty()) return ScriptError{number, parsed.error};
    if (!events.empty() && parsed.event.time < events.back().time)
      return ScriptError{number, "time goes back before the previous event's"};
    events.push_back(std::move(parsed.event));
  }
  return events;
}

}  // namespace kelvarok::sim
