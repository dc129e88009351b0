#include "jsonrpc/framing.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <limits>

#include "jsonrpc/utf8.h"

namespace tarnu::jsonrpc {
namespace {

constexpr std::size_t initial_size = 8 * 1024;
constexpr std::size_t min_read = 8 * 1024;
// A header section has at most two fields; anything this long is not one.
constexpr std::size_t max_header_bytes = 64 * 1024;

std::string_view trim_blanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::optional<std::uint64_t> parse_length(std::string_view value) {
  if (!value.empty() && value.front() == '+') value.remove_prefix(1);
  if (value.empty()) return std::nullopt;
  std::uint64_t length = 0;
  for (char c : value) {
    if (c < '0' || c > '9') return std::nullopt;
    auto digit = static_cast<std::uint64_t>(c - '0');
    if (length > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return std::nullopt;
    length = length * 10 + digit;
  }
  return length;
}

// The media type is not examined; the first "charset=" parameter must name UTF-8.
bool is_utf8_content_type(std::string_view value) {
  if (!is_valid_utf8(value)) return false;
  auto semicolon = value.find(';');
  while (semicolon != std::string_view::npos) {
    value.remove_prefix(semicolon + 1);
    semicolon = value.find(';');
    auto parameter = value.substr(0, semicolon);
    while (!parameter.empty() && parameter.front() == ' ') parameter.remove_prefix(1);
    while (!parameter.empty() && parameter.back() == ' ') parameter.remove_suffix(1);
    if (parameter.starts_with("charset=")) {
      auto charset = parameter.substr(8);
      return charset == "utf-8" || charset == "utf8";
    }
  }
  return false;
}

}  // namespace

FrameReader::FrameReader() { resize(initial_size); }

void FrameReader::resize(std::size_t capacity) {
  auto* grown = static_cast<char*>(std::realloc(buffer_.get(), capacity));
  if (!grown) throw std::bad_alloc();
  buffer_.release();
  buffer_.reset(grown);
  capacity_ = capacity;
}

std::span<char> FrameReader::prepare() {
  if (begin_ > 0) {
    std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (end_ == 0 && capacity_ > 64 * initial_size) resize(initial_size);  // give back what a large message needed
  if (capacity_ - end_ < min_read) resize(capacity_ * 2);
  return {buffer_.get() + end_, capacity_ - end_};
}

void FrameReader::commit(std::size_t count) { end_ += count; }

FrameReader::Status FrameReader::next(std::string_view& body) {
  if (!length_) {
    auto status = parse_header();
    if (status != Status::body) return status;
  }
  if (end_ - begin_ < *length_) return Status::need_more;
  auto length = static_cast<std::size_t>(*length_);
  body = std::string_view(buffer_.get() + begin_, length);
  begin_ += length;
  length_.reset();
  return Status::body;
}

FrameReader::Status FrameReader::parse_header() {
  std::string_view pending(buffer_.get() + begin_, end_ - begin_);
  std::optional<std::uint64_t> length;
  int fields = 0;
  std::size_t position = 0;
  for (;;) {
    auto newline = pending.find('\n', position);
    // The limit applies to the section as a whole, wherever the reads happen to cut it.
    if (std::min(newline, pending.size()) >= max_header_bytes) return Status::malformed;
    if (newline == std::string_view::npos) return Status::need_more;
    auto line = pending.substr(position, newline - position);
    position = newline + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) break;

    if (++fields > 2) return Status::malformed;
    auto colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0) return Status::malformed;
    auto name = line.substr(0, colon);
    if (name.find_first_of(" \t") != std::string_view::npos) return Status::malformed;
    auto value = trim_blanks(line.substr(colon + 1));
    if (name == "Content-Length") {
      length = parse_length(value);  // a repeated field: the later one counts
      if (!length) return Status::malformed;
    } else if (name == "Content-Type") {
      if (!is_utf8_content_type(value)) return Status::malformed;
    }
  }
  if (!length) return Status::malformed;
  begin_ += position;
  length_ = length;
  return Status::body;
}

}  // namespace tarnu::jsonrpc
