#include "platform/argument_reader.h"

#include <utility>

namespace kelvarok {

ArgumentReader::ArgumentReader(std::vector<std::string> arguments)
    : arguments_(std::move(arguments)) {
  PassEndOfOptions();
}

ArgumentReader::ArgumentReader(int argc, const char* const* argv)
    : ArgumentReader(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc)) {}

bool ArgumentReader::AtOption() const {
  if (AtEnd() || optionsEnded_) return false;
  const std::string& next = arguments_[next_];
  return next.size() > 1 && next[0] == '-';
}

std::string ArgumentReader::Take() {
  std::string argument = arguments_[next_++];
  PassEndOfOptions();
  return argument;
}

std::optional<std::string> ArgumentReader::TakeValue() {
  if (AtEnd() || AtOption() || arguments_[next_].empty()) return std::nullopt;
  return Take();
}

void ArgumentReader::PassEndOfOptions() {
  if (!optionsEnded_ && !AtEnd() && arguments_[next_] == "--") {
    optionsEnded_ = true;
    ++next_;
  }
}

}  // namespace kelvarok
