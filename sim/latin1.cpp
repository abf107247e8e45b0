#include "sim/latin1.h"

#include <cstdint>

namespace kelvarok::sim {

std::optional<std::string> Latin1FromUtf8(std::string_view utf8) {
  std::string out;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<std::uint8_t>(utf8[i]);
    int length = 0;
    std::uint32_t code = 0;
    if (lead < 0x80) {
      length = 1;
      code = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2;
      code = lead & 0x1Fu;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3;
      code = lead & 0x0Fu;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4;
      code = lead & 0x07u;
    } else {
      return std::nullopt;
    }
    if (i + static_cast<std::size_t>(length) > utf8.size()) return std::nullopt;
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<std::uint8_t>(utf8[i + static_cast<std::size_t>(k)]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      code = (code << 6) | (next & 0x3Fu);
    }
    static constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
      return std::nullopt;  // overlong forms and surrogates are not UTF-8
    out.push_back(code <= 0xFF ? static_cast<char>(code) : '?');
    i += static_cast<std::size_t>(length);
  }
  return out;
}

std::string Utf8FromLatin1(std::string_view latin1) {
  std::string out;
  out.reserve(latin1.size());
  for (const char c : latin1) {
    const auto code = static_cast<std::uint8_t>(c);
    if (code < 0x80) {
      out.push_back(c);
    } else {
      out.push_back(static_cast<char>(0xC0 | (code >> 6)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }
  return out;
}

}  // namespace kelvarok::sim
