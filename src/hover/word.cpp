// Cutting the word under the cursor out of its line, and reducing a qualified name to what the pages are
// keyed by.
#include "hover/word.h"

#include "support/unicode.h"

namespace tarnu::hover {
namespace {

bool is_continuation_byte(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// Where the character that holds byte `pos` of `line` begins.
std::size_t character_start(std::string_view line, std::size_t pos) {
  while (pos > 0 && is_continuation_byte(line[pos])) {
    --pos;
  }
  return pos;
}

bool word_char_at(std::string_view line, std::size_t pos) {
  return is_word_char(support::decode_utf8_at(line, pos).code_point);
}

// Jets are documented under their full name and module prefixes under themselves, while a name reached
// through a module ("witness::COMPLETE_OR_CANCEL") is documented, or defined, under its last part.
std::string_view lookup_form(std::string_view word) {
  if (word.starts_with("jet::")) {
    return word;
  }
  if (word.ends_with("::")) {
    return word;
  }
  // The separators are found from the left without overlap: "a:::b" is "a" and ":b", so a search from the
  // right would cut it differently.
  std::size_t last_part = 0;
  for (std::size_t sep = word.find("::"); sep != std::string_view::npos; sep = word.find("::", last_part)) {
    last_part = sep + 2;
  }
  return word.substr(last_part);
}

}  // namespace

bool is_word_char(char32_t c) {
  if (c < 0x80) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == ':' ||
           c == '!';
  }
  return support::is_alphabetic(c) || support::is_number(c);
}

std::optional<std::string_view> word_at_position(std::string_view line, std::size_t offset) {
  const std::size_t cursor = character_start(line, offset);
  const support::DecodedChar c = support::decode_utf8_at(line, cursor);
  if (!is_word_char(c.code_point)) {
    return std::nullopt;
  }
  // In a literal such as 0x1f the "x" would otherwise take in the whole number; the reader wants the prefix.
  if (c.code_point == U'x' && cursor > 0 && line[cursor - 1] == '0') {
    return line.substr(cursor - 1, 2);
  }
  std::size_t begin = cursor;
  while (begin > 0) {
    const std::size_t previous = character_start(line, begin - 1);
    if (!word_char_at(line, previous)) {
      break;
    }
    begin = previous;
  }
  std::size_t end = cursor + c.length;
  while (end < line.size()) {
    const support::DecodedChar next = support::decode_utf8_at(line, end);
    if (!is_word_char(next.code_point)) {
      break;
    }
    end += next.length;
  }
  return lookup_form(line.substr(begin, end - begin));
}

}  // namespace tarnu::hover
