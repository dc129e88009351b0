// Unicode character classes used to cut words and trim lines, backed by ICU's property tables.
#pragma once

#include <cstddef>
#include <string_view>

namespace tarnu::support {

// The code point that starts at `pos` of valid UTF-8 text and the number of bytes it takes.
struct DecodedChar {
  char32_t code_point;
  std::size_t length;
};
DecodedChar decode_utf8_at(std::string_view text, std::size_t pos);

bool is_alphabetic(char32_t c);   // Unicode property Alphabetic
bool is_number(char32_t c);       // general categories Nd, Nl, No
bool is_white_space(char32_t c);  // Unicode property White_Space

// `text` without the White_Space characters at both ends.
std::string_view trim_white_space(std::string_view text);

}  // namespace tarnu::support
