// Gathering and cleaning the comment above a definition.
#include "hover/doc_comment.h"

#include <algorithm>

#include "hover/lines.h"
#include "support/unicode.h"

namespace tarnu::hover {
namespace {

std::string_view drop_leading(std::string_view text, std::string_view marker) {
  while (text.starts_with(marker)) {
    text.remove_prefix(marker.size());
  }
  return text;
}

}  // namespace

std::vector<std::string_view> collect_doc_comment(std::string_view text, std::size_t line_start) {
  std::vector<std::string_view> gathered;
  for (LinesAbove above(text, line_start); auto line = above.next();) {
    const std::string_view trimmed = support::trim_white_space(*line);
    if (trimmed.empty()) {
      continue;
    }
    if (!trimmed.starts_with("//") && !trimmed.starts_with("/*") && !trimmed.starts_with("*")) {
      break;
    }
    gathered.push_back(trimmed);
  }
  std::reverse(gathered.begin(), gathered.end());
  return gathered;
}

std::string_view strip_comment_marker(std::string_view line) {
  // The closing "*/" is cut before the opening markers so that they cannot eat into it: a lone "*/" or
  // "/**/" is all marker. Everywhere else the order of the cuts makes no difference.
  if (line.ends_with("*/")) {
    line.remove_suffix(2);
  }
  line = drop_leading(line, "//");
  line = drop_leading(line, "/*");
  line = drop_leading(line, "*");
  return support::trim_white_space(line);
}

}  // namespace tarnu::hover
