// Choosing the page for a hover: the document's own definitions first, then the language reference.
#include "hover/hover.h"

#include "docs/reference.h"
#include "hover/lines.h"
#include "hover/user_symbols.h"
#include "hover/word.h"

namespace tarnu::hover {

std::optional<std::string> hover_page(std::string_view text, std::uint32_t line, std::uint32_t character) {
  const std::optional<std::string_view> cursor_line = line_at(text, line);
  if (!cursor_line || character >= cursor_line->size()) {
    return std::nullopt;
  }
  const std::optional<std::string_view> word = word_at_position(*cursor_line, character);
  if (!word) {
    return std::nullopt;
  }
  if (auto page = find_user_function(text, *word)) {
    return page;
  }
  if (auto page = find_user_constant(text, *word)) {
    return page;
  }
  if (const std::optional<std::string_view> page = docs::get_doc(*word)) {
    return std::string(*page);
  }
  return std::string(docs::general_reference_page());
}

}  // namespace tarnu::hover
