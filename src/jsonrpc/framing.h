// Cuts the input stream into message bodies with the base protocol's header section:
// "Content-Length: N" (required) and "Content-Type" (optional, charset utf-8), each line ended by CRLF
// or a bare LF, an empty line, then N bytes of body.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <cstdlib>
#include <memory>

namespace tarnu::jsonrpc {

class FrameReader {
 public:
  enum class Status { body, need_more, malformed };

  FrameReader();

  // Room at the end of the buffer for the next read, after moving unread bytes to the front. The buffer
  // grows only as bytes arrive: a length announced in a header never sizes it.
  std::span<char> prepare();
  void commit(std::size_t count);

  // The next complete body (possibly empty), or why there is none. The view stays valid until the next
  // call of prepare().
  Status next(std::string_view& body);

  // Whether bytes of an unfinished message are waiting.
  bool has_partial() const { return length_.has_value() || begin_ != end_; }

 private:
  Status parse_header();
  void resize(std::size_t capacity);

  // Grown with realloc: large blocks are remapped rather than copied, and new room is not zero-filled.
  struct Free {
    void operator()(char* p) const noexcept { std::free(p); }
  };
  std::unique_ptr<char, Free> buffer_;
  std::size_t capacity_ = 0;
  std::size_t begin_ = 0;  // first unread byte
  std::size_t end_ = 0;    // one past the last received byte
  std::optional<std::uint64_t> length_;  // of the body whose header has been read
};

}  // namespace tarnu::jsonrpc
