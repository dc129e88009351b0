// The comment written above a definition, as its hover page shows it.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace tarnu::hover {

// The comment lines above the definition line that begins at byte `line_start` of `text`, trimmed, in
// document order: every line that begins with "//", "/*" or "*", up to the first line of anything else.
// Blank lines are passed over, so blocks separated by blank lines are all gathered. The views point into `text`.
std::vector<std::string_view> collect_doc_comment(std::string_view text, std::size_t line_start);

// The text of one gathered comment line without its comment markers and surrounding white space.
std::string_view strip_comment_marker(std::string_view line);

}  // namespace tarnu::hover
