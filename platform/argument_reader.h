// How every program of the project reads its command line, one argument at a
// time. An argument that starts with "-" and is more than "-" names an option,
// until an argument "--": every argument after "--" is a value or a file name,
// never an option. An option that takes a value takes the argument after it,
// or, when "--" stands there, the argument after the "--"
// (`--screenshot -- -x.png`). Without "--" an argument that looks like an
// option is never a value or a file name, so that a forgotten value does not
// swallow the next option and a mistyped option never becomes a file.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kelvarok {

class ArgumentReader {
 public:
  // The arguments without the program's name.
  explicit ArgumentReader(std::vector<std::string> arguments);
  // argv as main receives it, argv[0] the program's name.
  ArgumentReader(int argc, const char* const* argv);

  bool AtEnd() const { return next_ == arguments_.size(); }
  // Whether the next argument names an option (false at the end).
  bool AtOption() const;
  // The next argument, whatever it is; only when not AtEnd().
  std::string Take();
  // The value of the option just taken: the next argument, unless none is
  // left, it names an option or it is empty (no option takes an empty value:
  // "--replay ''" must not quietly mean no replay).
  std::optional<std::string> TakeValue();

 private:
  void PassEndOfOptions();

  std::vector<std::string> arguments_;
  std::size_t next_ = 0;
  bool optionsEnded_ = false;  // a "--" has been passed
};

}  // namespace kelvarok
