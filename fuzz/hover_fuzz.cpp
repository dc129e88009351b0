// hover_page on arbitrary text and positions. Beyond not crashing: a position outside the text or on a
// character that cannot be part of a word has no page, a position on an ASCII letter or digit always has
// one, and the page of a valid UTF-8 text is valid UTF-8 (it must go into a JSON reply).
//
// Input: the position from the end of the data (FuzzedDataProvider), the text from the rest.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "hover/hover.h"
#include "jsonrpc/utf8.h"

namespace {

[[noreturn]] void fail(const char* what, std::uint32_t line, std::uint32_t character) {
  std::fprintf(stderr, "hover_fuzz: %s (line %u, character %u)\n", what, line, character);
  std::abort();
}

// Line `index` of `text`, read independently of the code under test: cut at line feeds, a carriage return
// right before one dropped with it, no empty line after a final line feed.
std::optional<std::string_view> nth_line(std::string_view text, std::uint32_t index) {
  std::size_t start = 0;
  for (std::uint32_t i = 0;; ++i) {
    if (start >= text.size()) return std::nullopt;
    auto feed = text.find('\n', start);
    auto end = feed == std::string_view::npos ? text.size() : feed;
    if (i == index) {
      if (feed != std::string_view::npos && end > start && text[end - 1] == '\r') --end;
      return text.substr(start, end - start);
    }
    if (feed == std::string_view::npos) return std::nullopt;
    start = feed + 1;
  }
}

bool is_ascii_word_byte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == ':' ||
         c == '!';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  // Mostly positions near the top, where the text is; sometimes anything.
  auto line = provider.ConsumeBool() ? provider.ConsumeIntegral<std::uint32_t>()
                                     : provider.ConsumeIntegralInRange<std::uint32_t>(0, 32);
  auto character = provider.ConsumeBool() ? provider.ConsumeIntegral<std::uint32_t>()
                                          : provider.ConsumeIntegralInRange<std::uint32_t>(0, 128);
  const std::string text = provider.ConsumeRemainingBytesAsString();

  auto page = tarnu::hover::hover_page(text, line, character);

  auto cursor_line = nth_line(text, line);
  if (!cursor_line || character >= cursor_line->size()) {
    if (page) fail("a page for a position outside the text", line, character);
    return 0;
  }
  const unsigned char under = static_cast<unsigned char>((*cursor_line)[character]);
  if (under < 0x80) {
    if (is_ascii_word_byte(static_cast<char>(under)) && !page) fail("no page on a word character", line, character);
    if (!is_ascii_word_byte(static_cast<char>(under)) && page) fail("a page on a character outside words", line, character);
  }
  if (page && tarnu::jsonrpc::is_valid_utf8(text) && !tarnu::jsonrpc::is_valid_utf8(*page))
    fail("a page that is not valid UTF-8", line, character);
  return 0;
}
