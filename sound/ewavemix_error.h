// The one exception the mixer raises; its message is the text shown to the
// user. Texts are UTF-8 (the desktop shows them through Qt), so the acute
// accent in "can´t" is U+00B4.
#pragma once

#include <stdexcept>
#include <string>

namespace kelvarok {

class EWaveMixError : public std::runtime_error {
 public:
  explicit EWaveMixError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace kelvarok
