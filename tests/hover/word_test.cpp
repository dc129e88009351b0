// Which word a cursor designates, and the form in which it is looked up.
#include "hover/word.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

namespace tarnu::hover {
namespace {

struct WordCase {
  std::string line;
  std::size_t offset;
  std::optional<std::string> word;
};

void PrintTo(const WordCase& c, std::ostream* out) { *out << '"' << c.line << "\" at " << c.offset; }

class WordAtPositionTest : public testing::TestWithParam<WordCase> {};

TEST_P(WordAtPositionTest, FindsTheLookupWord) {
  const WordCase& c = GetParam();
  const std::optional<std::string_view> word = word_at_position(c.line, c.offset);
  EXPECT_EQ(word ? std::optional<std::string>(*word) : std::nullopt, c.word);
}

INSTANTIATE_TEST_SUITE_P(
    Punctuation, WordAtPositionTest,
    testing::Values(WordCase{"foo(bar, baz);", 5, "bar"}, WordCase{"foo(bar, baz);", 3, std::nullopt},
                    WordCase{"foo(bar, baz);", 7, std::nullopt}, WordCase{"a.b", 1, std::nullopt},
                    WordCase{"ab cd", 2, std::nullopt}, WordCase{"ab\tcd", 3, "cd"},
                    WordCase{"a-b+c*d/e=f<g>h{i}", 4, "c"}, WordCase{"ab cd", 1, "ab"},
                    WordCase{"assert!(x);", 2, "assert!"},
                    // A colon glued to a name belongs to the word, which then names nothing.
                    WordCase{"let msg: u256 = 0;", 4, "msg:"}));

INSTANTIATE_TEST_SUITE_P(
    HexPrefix, WordAtPositionTest,
    testing::Values(WordCase{"0x1234", 1, "0x"}, WordCase{"0x1234", 2, "0x1234"}, WordCase{"0x1234", 0, "0x1234"},
                    WordCase{"10xff", 2, "0x"}, WordCase{"0X12", 1, "0X12"}, WordCase{"ax", 1, "ax"},
                    WordCase{"x", 0, "x"}, WordCase{"0 x", 2, "x"}));

INSTANTIATE_TEST_SUITE_P(
    ModulePaths, WordAtPositionTest,
    testing::Values(WordCase{"witness::", 3, "witness::"}, WordCase{"param:: x", 6, "param::"},
                    WordCase{"a::b::c", 0, "c"}, WordCase{"::x", 2, "x"}, WordCase{"jet::x::y", 0, "jet::x::y"},
                    // Separators are found from the left without overlap.
                    WordCase{"a:::b", 0, ":b"}, WordCase{"a::::b", 0, "b"}, WordCase{"a:::", 0, "a:::"}));

// Offsets are bytes of UTF-8; an offset inside a character designates that character.
INSTANTIATE_TEST_SUITE_P(
    Unicode, WordAtPositionTest,
    testing::Values(WordCase{"\u00e9 x", 0, "\u00e9"}, WordCase{"\u00e9 x", 1, "\u00e9"},
                    WordCase{"\u00e9 x", 2, std::nullopt}, WordCase{"\u00e9 x", 3, "x"},
                    WordCase{"(na\u00efve_\u0436\u00b2)", 4, "na\u00efve_\u0436\u00b2"},
                    // A vowel sign is Alphabetic but not a letter; it must not split the word.
                    WordCase{"\u0915\u093e\u0932", 0, "\u0915\u093e\u0932"},
                    WordCase{"\u2160\u0663", 3, "\u2160\u0663"}, WordCase{"a\u2192b", 2, std::nullopt},
                    WordCase{"a\u2192b", 4, "b"}, WordCase{"a\u00a0b", 0, "a"},
                    WordCase{"\U0001F600x", 3, std::nullopt}, WordCase{"\U0001F600x", 4, "x"}));

TEST(WordAtPositionTest, QualifiedNamesAreTheSameFromEveryCharacter) {
  const std::string line = "  jet::add_256(witness::COMPLETE_OR_CANCEL, b)";
  for (std::size_t i = 2; i < 14; ++i) {
    EXPECT_EQ(word_at_position(line, i), "jet::add_256") << i;
  }
  for (std::size_t i = 15; i < 42; ++i) {
    EXPECT_EQ(word_at_position(line, i), "COMPLETE_OR_CANCEL") << i;
  }
}

TEST(IsWordCharTest, FollowsTheUnicodeClasses) {
  for (const char32_t c : {U'a', U'Z', U'0', U'9', U'_', U':', U'!', U'\u00e9', U'\u0436', U'\u093e', U'\u2160',
                           U'\u00b2', U'\u0663', U'\u4e2d'}) {
    EXPECT_TRUE(is_word_char(c)) << std::hex << static_cast<std::uint32_t>(c);
  }
  for (const char32_t c : {U' ', U'\t', U'(', U'.', U',', U';', U'"', U'#', U'$', U'@', U'?', U'\u00a0',
                           U'\u00b0', U'\u2192', U'\u3000', U'\U0001F600', U'\u0300'}) {
    EXPECT_FALSE(is_word_char(c)) << std::hex << static_cast<std::uint32_t>(c);
  }
}

}  // namespace
}  // namespace tarnu::hover
