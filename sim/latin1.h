// Conversions between the game's 8-bit Latin-1 texts and UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelvarok::sim {

// Latin-1 of a UTF-8 text; a character outside Latin-1 becomes "?". Nothing
// when the text is not valid UTF-8.
std::optional<std::string> Latin1FromUtf8(std::string_view utf8);

std::string Utf8FromLatin1(std::string_view latin1);

}  // namespace kelvarok::sim
