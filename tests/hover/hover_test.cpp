// The page chosen for a position of a document: where a hover is possible at all, which word is looked up,
// and the order of the lookups.
#include "hover/hover.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "docs/reference.h"

namespace tarnu::hover {
namespace {

struct Position {
  std::string text;
  std::uint32_t line;
  std::uint32_t character;
};

void PrintTo(const Position& p, std::ostream* out) {
  *out << testing::PrintToString(p.text) << " at " << p.line << ':' << p.character;
}

class NoHoverTest : public testing::TestWithParam<Position> {};

TEST_P(NoHoverTest, AnswersNothing) {
  const Position& p = GetParam();
  EXPECT_EQ(hover_page(p.text, p.line, p.character), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    OutsideTheText, NoHoverTest,
    testing::Values(Position{"", 0, 0}, Position{"u8", 1, 0}, Position{"u8\n", 1, 0}, Position{"u8\r\n", 1, 0},
                    Position{"u8", 4000000000, 0}, Position{"u8\n\nu8", 1, 0}, Position{"u8", 0, 2},
                    Position{"u8 \nu8", 0, 3}, Position{"u8\r\nu8", 0, 2}, Position{"\u00e9", 0, 2}));

INSTANTIATE_TEST_SUITE_P(
    OffAWord, NoHoverTest,
    testing::Values(Position{"u8 u8", 0, 2}, Position{"f(u8)", 0, 1}, Position{"u8.u8", 0, 2},
                    Position{"(u8, u8);", 0, 3}, Position{"\tu8", 0, 0}, Position{"\u00e9 u8", 0, 2}));

// `key` is a reference key, or empty for the general page.
struct Lookup {
  std::string line;
  std::uint32_t character;
  std::string key;
};

void PrintTo(const Lookup& l, std::ostream* out) {
  *out << testing::PrintToString(l.line) << " at " << l.character << " -> " << l.key;
}

class ReferenceLookupTest : public testing::TestWithParam<Lookup> {};

TEST_P(ReferenceLookupTest, ShowsThePageOfTheLookupWord) {
  const Lookup& l = GetParam();
  std::string_view expected = docs::general_reference_page();
  if (!l.key.empty()) {
    const std::optional<std::string_view> page = docs::get_doc(l.key);
    ASSERT_TRUE(page) << "no reference page for " << l.key;
    expected = *page;
  }
  EXPECT_EQ(hover_page("// first line\n" + l.line + "\n// last line\n", 1, l.character), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Words, ReferenceLookupTest,
    testing::Values(Lookup{"let x = jet::add_256(a, b);", 8, "jet::add_256"},
                    Lookup{"let x = jet::add_256(a, b);", 19, "jet::add_256"},
                    Lookup{"let n: u256 = 0x1234;", 15, "0x"}, Lookup{"let n: u256 = 0x1234;", 16, ""},
                    Lookup{"let w = witness::", 16, "witness::"}, Lookup{"witness:: here", 0, "witness::"},
                    Lookup{"  assert!(ok);", 8, "assert!"}, Lookup{"let a: u8 = b;", 7, "u8"},
                    Lookup{"let msg: u256 = jet::sig_all_hash();", 4, ""}, Lookup{"let o: option = x;", 8, ""},
                    Lookup{"// check the signature", 5, ""}, Lookup{"witness::COMPLETE_OR_CANCEL", 2, ""},
                    Lookup{"\u00e9 u8", 3, "u8"}, Lookup{"\u00e9 u8", 1, ""}));

TEST(HoverPageTest, DefinitionsOfTheDocumentComeFirst) {
  const std::string text =
      "// Block height\n"
      "\n"
      "const TIMEOUT: Height = 1000;\r\n"
      "const u8: u8 = 0;\n"
      "const f: u8 = 1;\n"
      "fn main() {\n"
      "  jet::check_lock_height(param::TIMEOUT);\n"
      "  let a: u8 = f() + u8;\n"
      "}\n"
      "fn f() {\n"
      "}\n";
  const std::string timeout_page =
      "# `TIMEOUT` - User-Defined Constant\n"
      "\n"
      "## Documentation\n"
      "Block height\n"
      "\n"
      "## Definition\n"
      "```simplicity\n"
      "const TIMEOUT: Height = 1000;\n"
      "```\n";
  EXPECT_EQ(hover_page(text, 6, 26), timeout_page);  // on the module prefix
  EXPECT_EQ(hover_page(text, 6, 38), timeout_page);
  EXPECT_EQ(hover_page(text, 6, 39), std::nullopt);
  // In its own definition the colon sticks to the name.
  EXPECT_EQ(hover_page(text, 2, 8), docs::general_reference_page());

  // A function of the same name wins over a constant, and either over a reference page.
  const std::optional<std::string> function = hover_page(text, 7, 14);
  ASSERT_TRUE(function);
  EXPECT_TRUE(function->starts_with("# `f` - User-Defined Function\n")) << *function;
  EXPECT_EQ(hover_page(text, 9, 3), function);
  const std::optional<std::string> constant = hover_page(text, 7, 21);
  ASSERT_TRUE(constant);
  EXPECT_TRUE(constant->starts_with("# `u8` - User-Defined Constant\n")) << *constant;
}

// Everything in a hover is linear in the size of the document; a quadratic step would take seconds here. The
// positions reach a constant below twenty thousand comment lines, a function after it, and a word that
// nothing defines, which scans the whole text twice.
TEST(HoverPageTest, StaysFastOnALargeDocument) {
  std::string text;
  for (int i = 0; text.size() < (1u << 20); ++i) {
    text += "// let value" + std::to_string(i) + ": u256 = jet::add_256(a, b); { {\n";
  }
  text += "const LAST: u8 = 0;\nfn last() {\n" + text + "}\nlet x = LAST + last() + missing;\n";
  const auto last_line = static_cast<std::uint32_t>(std::count(text.begin(), text.end(), '\n') - 1);

  for (const std::uint32_t character : {8u, 15u, 24u}) {
    auto fastest = std::chrono::steady_clock::duration::max();
    for (int run = 0; run < 3; ++run) {
      const auto start = std::chrono::steady_clock::now();
      ASSERT_TRUE(hover_page(text, last_line, character));
      fastest = std::min(fastest, std::chrono::steady_clock::now() - start);
    }
    EXPECT_LT(fastest, std::chrono::milliseconds(200)) << "at character " << character;
  }
}

}  // namespace
}  // namespace tarnu::hover
