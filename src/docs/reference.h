// The language reference: one Markdown page per documented keyword, type, variant, jet and prefix,
// and the general page shown for every other word.
#pragma once

#include <optional>
#include <string_view>

namespace tarnu::docs {

// The page whose key equals `word` exactly (same bytes, case included), or nothing.
// The view refers to constant text that lives as long as the program; nothing is allocated.
std::optional<std::string_view> get_doc(std::string_view word) noexcept;

// The general language reference page.
std::string_view general_reference_page() noexcept;

}  // namespace tarnu::docs
