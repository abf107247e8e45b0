#include "sim/mix/mix_script.h"

#include <charconv>
#include <filesystem>
#include <iostream>
#include <set>
#include <sstream>

#include "platform/regular_file.h"
#include "sound/mixer_types.h"

namespace kelvarok {

namespace {

std::vector<std::string> Words(std::string_view line) {
  line = line.substr(0, line.find('#'));
  std::istringstream in{std::string(line)};
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

template <class Number>
bool ParseNumber(const std::string& text, Number& value) {
  const char* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && ptr == end;
}

class LineParser {
 public:
  LineParser(int line, std::vector<std::string> words) : line_(line), words_(std::move(words)) {}

  [[noreturn]] void Fail(const std::string& reason) const {
    throw ScriptError("line " + std::to_string(line_) + ": " + reason);
  }
  bool More() const { return next_ < words_.size(); }
  const std::string& Next(const char* what) {
    if (!More()) Fail(std::string("missing ") + what);
    return words_[next_++];
  }
  std::int32_t Channel() {
    std::int32_t channel = 0;
    if (!ParseNumber(Next("channel"), channel)) Fail("expected a channel number");
    return channel;
  }
  void Finish() const {
    if (More()) Fail("unexpected " + words_[next_]);
  }

 private:
  int line_;
  std::vector<std::string> words_;
  std::size_t next_ = 0;
};

void ParseChannelOrAll(LineParser& parser, ScriptCommand& command) {
  const std::string& word = parser.Next("channel");
  if (word == "all") {
    command.all_channels = true;
    return;
  }
  if (!ParseNumber(word, command.channel)) parser.Fail("expected a channel number or all");
}

void ParsePlayOptions(LineParser& parser, ScriptCommand& command) {
  while (parser.More()) {
    const std::string& option = parser.Next("option");
    if (option == "clear") {
      command.flags |= MixPlayClearQueue;
    } else if (option == "lru") {
      command.flags |= MixPlayUseLru;
    } else if (option == "high") {
      command.flags |= MixPlayHighPriority;
    } else if (option == "wait") {
      command.flags |= MixPlayWait;
    } else if (option == "loops") {
      if (!ParseNumber(parser.Next("loop count"), command.loops)) {
        parser.Fail("expected a loop count 0..65535");
      }
    } else {
      parser.Fail("unknown play option " + option);
    }
  }
}

ScriptCommand ParseCommand(LineParser& parser, std::set<std::string>& waves) {
  ScriptCommand command;
  using Kind = ScriptCommand::Kind;
  const std::string verb = parser.Next("command");
  if (verb == "open") {
    const std::string& what = parser.Next("channel");
    if (what == "all") {
      command.kind = Kind::OpenAll;
    } else if (what == "count") {
      command.kind = Kind::OpenCount;
      command.channel = parser.Channel();
    } else {
      command.kind = Kind::Open;
      if (!ParseNumber(what, command.channel))
        parser.Fail("expected a channel number, all or count");
    }
  } else if (verb == "load") {
    command.kind = Kind::Load;
    command.name = parser.Next("wave name");
    command.file = parser.Next("file name");
    waves.insert(command.name);
  } else if (verb == "free" || verb == "play") {
    command.kind = verb == "free" ? Kind::Free : Kind::Play;
    if (command.kind == Kind::Play) command.channel = parser.Channel();
    command.name = parser.Next("wave name");
    if (waves.count(command.name) == 0) parser.Fail("unknown wave " + command.name);
    if (command.kind == Kind::Play) ParsePlayOptions(parser, command);
  } else if (verb == "activate") {
    command.kind = Kind::Activate;
    const std::string& state = parser.Next("on or off");
    if (state != "on" && state != "off") parser.Fail("expected on or off");
    command.on = state == "on";
  } else if (verb == "flush" || verb == "close") {
    command.kind = verb == "flush" ? Kind::Flush : Kind::Close;
    ParseChannelOrAll(parser, command);
    if (command.kind == Kind::Flush && parser.More()) {
      if (parser.Next("option") != "noremix") parser.Fail("expected noremix");
      command.flags = MixFlushNoRemix;
    }
  } else if (verb == "end") {
    command.kind = Kind::End;
  } else {
    parser.Fail("unknown command " + verb);
  }
  parser.Finish();
  return command;
}

}  // namespace

std::vector<ScriptCommand> ParseScript(std::string_view text) {
  std::vector<ScriptCommand> commands;
  std::set<std::string> waves;
  int line = 0;
  while (!text.empty()) {
    ++line;
    const std::size_t end = text.find('\n');
    std::vector<std::string> words = Words(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (words.empty()) continue;
    LineParser parser(line, std::move(words));
    std::uint32_t ms = 0;
    if (!ParseNumber(parser.Next("time"), ms)) parser.Fail("expected a time in milliseconds");
    if (!commands.empty() && commands.back().kind == ScriptCommand::Kind::End) {
      parser.Fail("nothing may follow end");
    }
    if (!commands.empty() && ms < commands.back().ms) parser.Fail("time goes backwards");
    ScriptCommand command = ParseCommand(parser, waves);
    command.line = line;
    command.ms = ms;
    commands.push_back(std::move(command));
  }
  return commands;
}

std::optional<std::vector<ScriptCommand>> LoadScriptFile(const std::string& path,
                                                         std::string_view program,
                                                         int& exit_status) {
  // A directory is a wrong argument rather than a file that failed to read.
  if (std::error_code error; std::filesystem::is_directory(path, error)) {
    std::cerr << program << ": " << path << " is a directory\n";
    exit_status = 2;
    return std::nullopt;
  }
  const auto script = ReadRegularFile(path, kLargestScriptFile);
  if (const auto* refusal = std::get_if<FileRefusal>(&script)) {
    std::cerr << program << ": " << CannotReadMessage(path, *refusal) << '\n';
    exit_status = 1;
    return std::nullopt;
  }
  try {
    return ParseScript(std::get<std::string>(script));
  } catch (const ScriptError& error) {
    std::cerr << error.what() << '\n';
    exit_status = 2;
    return std::nullopt;
  }
}

std::optional<std::string> LoadIniFile(const std::optional<std::string>& path,
                                       std::string_view program) {
  if (!path) return "";
  auto text = ReadRegularFile(*path, kLargestTextFile);
  if (const auto* refusal = std::get_if<FileRefusal>(&text)) {
    if (refusal->Missing()) return "";
    std::cerr << program << ": " << CannotReadMessage(*path, *refusal) << '\n';
    return std::nullopt;
  }
  return std::move(std::get<std::string>(text));
}

}  // namespace kelvarok
