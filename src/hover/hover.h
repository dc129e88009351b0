// What a hover shows: the page for the word at a position of a document's text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarnu::hover {

// The Markdown page for the word at (`line`, `character`) of `text`, where `character` is a byte offset into
// the UTF-8 text of the line; nothing when the position is outside the text or not on a word.
// Looks for a function, then a constant defined in `text`, then a reference page, then the general page.
std::optional<std::string> hover_page(std::string_view text, std::uint32_t line, std::uint32_t character);

}  // namespace tarnu::hover
