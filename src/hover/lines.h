// The lines of a document's text, read in place: every line is a view into the text, so walking a
// document of any size allocates nothing.
//
// A line ends at a line feed, which is not part of it, and so is a carriage return standing right before that
// line feed; a carriage return anywhere else stays in its line. A line feed at the very end of the text does
// not begin an empty last line, and an empty text has no lines.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace tarnu::hover {

// The lines of a text from the top, one at a time.
class Lines {
 public:
  explicit Lines(std::string_view text) : text_(text) {}

  // The next line, or nothing after the last one.
  std::optional<std::string_view> next() {
    if (next_ >= text_.size()) {
      return std::nullopt;
    }
    start_ = next_;
    std::size_t end = text_.find('\n', start_);
    if (end == std::string_view::npos) {
      end = next_ = text_.size();
    } else {
      next_ = end + 1;
      if (end > start_ && text_[end - 1] == '\r') {
        --end;
      }
    }
    return text_.substr(start_, end - start_);
  }

  // Where the line last returned by next() begins in the text.
  std::size_t start() const { return start_; }

 private:
  std::string_view text_;
  std::size_t start_ = 0;
  std::size_t next_ = 0;
};

// The lines of a text above the line that begins at `line_start`, nearest first.
class LinesAbove {
 public:
  LinesAbove(std::string_view text, std::size_t line_start) : text_(text), start_(line_start) {}

  std::optional<std::string_view> next() {
    if (start_ == 0) {
      return std::nullopt;
    }
    const std::size_t feed = start_ - 1;  // the line feed that ends the line above
    const std::size_t found = feed == 0 ? std::string_view::npos : text_.rfind('\n', feed - 1);
    start_ = found == std::string_view::npos ? 0 : found + 1;
    std::size_t end = feed;
    if (end > start_ && text_[end - 1] == '\r') {
      --end;
    }
    return text_.substr(start_, end - start_);
  }

 private:
  std::string_view text_;
  std::size_t start_;
};

// Line number `index` of `text`, or nothing when the text has no such line.
inline std::optional<std::string_view> line_at(std::string_view text, std::size_t index) {
  std::size_t start = 0;
  for (; index > 0; --index) {
    const std::size_t feed = text.find('\n', start);
    if (feed == std::string_view::npos) {
      return std::nullopt;
    }
    start = feed + 1;
  }
  Lines rest(text.substr(start));
  return rest.next();
}

}  // namespace tarnu::hover
