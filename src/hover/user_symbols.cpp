// Finding a definition in the document's lines and laying out its page.
#include "hover/user_symbols.h"

#include <vector>

#include "hover/doc_comment.h"
#include "hover/lines.h"
#include "support/unicode.h"

namespace tarnu::hover {
namespace {

constexpr std::size_t kShownBodyLines = 10;

using support::trim_white_space;

// Whether the trimmed line `trimmed` reads "<keyword><name><delimiter>..." with `word` as its name, white
// space around the name allowed.
bool declares(std::string_view trimmed, std::string_view keyword, char delimiter, std::string_view word) {
  if (!trimmed.starts_with(keyword)) {
    return false;
  }
  const std::string_view rest = trimmed.substr(keyword.size());
  const std::size_t end = rest.find(delimiter);
  return end != std::string_view::npos && trim_white_space(rest.substr(0, end)) == word;
}

// Goes through the braces of `text` from `depth` on; true as soon as the depth comes down to 0, which
// closes the function whatever follows on that line.
bool closes_body(std::string_view text, int& depth) {
  for (const char c : text) {
    if (c == '{') {
      ++depth;
    } else if (c == '}' && --depth == 0) {
      return true;
    }
  }
  return false;
}

void append_line(std::string& page, std::string_view line) {
  page += line;
  page += '\n';
}

void append_heading(std::string& page, std::string_view word, std::string_view kind) {
  page += "# `";
  page += word;
  page += "` - ";
  page += kind;
  page += "\n\n";
}

void append_documentation(std::string& page, const std::vector<std::string_view>& comment) {
  if (comment.empty()) {
    return;
  }
  page += "## Documentation\n";
  for (const std::string_view line : comment) {
    if (const std::string_view text = strip_comment_marker(line); !text.empty()) {
      append_line(page, text);
    }
  }
  page += '\n';
}

}  // namespace

std::optional<std::string> find_user_function(std::string_view text, std::string_view word) {
  Lines lines(text);
  std::optional<std::string_view> line = lines.next();
  while (line && !declares(trim_white_space(*line), "fn ", '(', word)) {
    line = lines.next();
  }
  if (!line) {
    return std::nullopt;
  }
  const std::vector<std::string_view> comment = collect_doc_comment(text, lines.start());

  // A signature may run over several lines; it ends with the line that opens the body. Without such a line it
  // takes the rest of the document and there is no body.
  std::string signature;
  std::optional<std::string_view> opening;
  for (; line; line = lines.next()) {
    const std::string_view trimmed = trim_white_space(*line);
    signature += trimmed;
    if (trimmed.find('{') != std::string_view::npos) {
      opening = trimmed;
      break;
    }
    signature += ' ';
  }

  // The braces after the opening "{" on its own line count, so a function written on one line has no body
  // and one that opens a block there starts deeper. Only ten lines are shown, so the scan stops at the
  // eleventh: it is enough to know that there is more.
  std::vector<std::string_view> shown;
  bool more = false;
  if (int depth = 0; opening && !closes_body(opening->substr(opening->find('{')), depth)) {
    for (line = lines.next(); line && !closes_body(*line, depth); line = lines.next()) {
      if (shown.size() == kShownBodyLines) {
        more = true;
        break;
      }
      shown.push_back(*line);
    }
  }

  std::string page;
  append_heading(page, word, "User-Defined Function");
  append_documentation(page, comment);
  page += "## Signature\n```simplicity\n";
  append_line(page, signature);
  page += "```\n\n";
  if (!shown.empty()) {
    page += "## Implementation\n```simplicity\n";
    for (const std::string_view body_line : shown) {
      append_line(page, body_line);
    }
    if (more) {
      page += "  // ... rest of function\n";
    }
    page += "```\n";
  }
  return page;
}

std::optional<std::string> find_user_constant(std::string_view text, std::string_view word) {
  Lines lines(text);
  for (auto line = lines.next(); line; line = lines.next()) {
    const std::string_view trimmed = trim_white_space(*line);
    if (!declares(trimmed, "const ", ':', word)) {
      continue;
    }
    std::string page;
    append_heading(page, word, "User-Defined Constant");
    append_documentation(page, collect_doc_comment(text, lines.start()));
    page += "## Definition\n```simplicity\n";
    append_line(page, trimmed);
    page += "```\n";
    return page;
  }
  return std::nullopt;
}

}  // namespace tarnu::hover
