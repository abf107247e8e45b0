# Script mode: writes the bytes of IN as a C++ array named SYMBOL into OUT.
file(READ ${IN} hex HEX)
string(LENGTH "${hex}" hex_len)
math(EXPR size "${hex_len} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){32})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUT} "#include <cstddef>\n#include <cstdint>\nnamespace kelvarok::embedded {\n"
  "extern const std::uint8_t ${SYMBOL}[];\nextern const std::size_t ${SYMBOL}_size;\n"
  "const std::uint8_t ${SYMBOL}[] = {\n${bytes}\n};\n"
  "const std::size_t ${SYMBOL}_size = ${size};\n}\n")
