// The Unicode classes by their property names: White_Space is neither C's isspace nor ICU's older
// u_isWhitespace, and trimming must step over characters of every encoded length at both ends.
#include "support/unicode.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace tarnu::support {
namespace {

TEST(DecodeUtf8AtTest, ReadsOneCharacterOfEachLength) {
  const std::string text = "a\u00e9\u20ac\U0001F600";
  struct Expected {
    std::size_t pos;
    char32_t code_point;
    std::size_t length;
  };
  for (const Expected e : {Expected{0, U'a', 1}, Expected{1, U'\u00e9', 2}, Expected{3, U'\u20ac', 3},
                           Expected{6, U'\U0001F600', 4}}) {
    const DecodedChar d = decode_utf8_at(text, e.pos);
    EXPECT_EQ(d.code_point, e.code_point) << e.pos;
    EXPECT_EQ(d.length, e.length) << e.pos;
  }
  EXPECT_EQ(decode_utf8_at(text, text.size()).length, 0u);
}

TEST(IsWhiteSpaceTest, IsTheWhiteSpaceProperty) {
  for (const char32_t c : {U'\t', U'\n', U'\v', U'\f', U'\r', U' ', U'\u0085', U'\u00a0', U'\u1680', U'\u2007',
                           U'\u2028', U'\u202f', U'\u3000'}) {
    EXPECT_TRUE(is_white_space(c)) << std::hex << static_cast<std::uint32_t>(c);
  }
  for (const char32_t c : {U'\0', U'\x1c', U'\x1f', U'a', U'\u180e', U'\u200b', U'\u2060', U'\ufeff'}) {
    EXPECT_FALSE(is_white_space(c)) << std::hex << static_cast<std::uint32_t>(c);
  }
}

TEST(TrimWhiteSpaceTest, RemovesWhiteSpaceOfAnyLengthAtBothEnds) {
  EXPECT_EQ(trim_white_space(""), "");
  EXPECT_EQ(trim_white_space(" \t\r\n"), "");
  EXPECT_EQ(trim_white_space("\u3000\u00a0 \u2028"), "");
  EXPECT_EQ(trim_white_space("\u0085a b\u00a0\u3000"), "a b");
  EXPECT_EQ(trim_white_space("\u00a0\u00e9\u3000"), "\u00e9");
  EXPECT_EQ(trim_white_space("\u200bx\u200b"), "\u200bx\u200b");
  EXPECT_EQ(trim_white_space("\x1fx\x1f"), "\x1fx\x1f");
}

}  // namespace
}  // namespace tarnu::support
