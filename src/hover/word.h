// The lookup word: which word of a line a cursor designates, in the form the lookups compare with.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace tarnu::hover {

// ASCII letters and digits, the Alphabetic and Number characters beyond ASCII, and "_", ":" and "!", so that
// "jet::add_256", "witness::" and "assert!" are single words.
bool is_word_char(char32_t c);

// The lookup word for the character whose UTF-8 bytes contain byte `offset` of `line` (offset < line.size()),
// or nothing when that character is not a word character. The word is a view into `line`.
std::optional<std::string_view> word_at_position(std::string_view line, std::size_t offset);

}  // namespace tarnu::hover
