// Unicode character classes from ICU's property tables. The properties are the Unicode ones by name
// (Alphabetic, White_Space), not ICU's older POSIX-like predicates: u_isalpha leaves out marks and letter
// numbers, and u_isWhitespace leaves out the no-break spaces.
#include "support/unicode.h"

#include <cstdint>

#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace tarnu::support {

DecodedChar decode_utf8_at(std::string_view text, std::size_t pos) {
  if (pos >= text.size()) {
    return {0, 0};
  }
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  const auto length = static_cast<std::int32_t>(text.size() - pos);
  std::int32_t i = 0;
  UChar32 c = 0;
  // Ill-formed input cannot arrive through the protocol, but should it, it reads as U+FFFD and the caller
  // still advances, so no scan can stall.
  U8_NEXT_OR_FFFD(bytes + pos, i, length, c);
  return {static_cast<char32_t>(c), static_cast<std::size_t>(i)};
}

bool is_alphabetic(char32_t c) { return u_isUAlphabetic(static_cast<UChar32>(c)) != 0; }

bool is_number(char32_t c) {
  return (U_GET_GC_MASK(static_cast<UChar32>(c)) & U_GC_N_MASK) != 0;
}

bool is_white_space(char32_t c) { return u_isUWhiteSpace(static_cast<UChar32>(c)) != 0; }

std::string_view trim_white_space(std::string_view text) {
  std::size_t begin = 0;
  while (begin < text.size()) {
    const DecodedChar d = decode_utf8_at(text, begin);
    if (!is_white_space(d.code_point)) {
      break;
    }
    begin += d.length;
  }
  std::size_t end = text.size();
  while (end > begin) {
    std::size_t lead = end - 1;
    while (lead > begin && (static_cast<unsigned char>(text[lead]) & 0xC0) == 0x80) {
      --lead;
    }
    if (!is_white_space(decode_utf8_at(text, lead).code_point)) {
      break;
    }
    end = lead;
  }
  return text.substr(begin, end - begin);
}

}  // namespace tarnu::support
