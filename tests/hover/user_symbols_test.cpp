// Finding the document's own functions and constants, and the exact pages shown for them.
#include "hover/user_symbols.h"

#include <gtest/gtest.h>

#include <string>

namespace tarnu::hover {
namespace {

TEST(FindUserFunctionTest, ShowsSignatureAndBody) {
  const std::string text =
      "fn checksig(pk: Pubkey, sig: Signature) {\n"
      "  let msg: u256 = jet::sig_all_hash();\n"
      "  jet::bip_0340_verify((pk, msg), sig);\n"
      "}\n";
  EXPECT_EQ(find_user_function(text, "checksig"),
            "# `checksig` - User-Defined Function\n"
            "\n"
            "## Signature\n"
            "```simplicity\n"
            "fn checksig(pk: Pubkey, sig: Signature) {\n"
            "```\n"
            "\n"
            "## Implementation\n"
            "```simplicity\n"
            "  let msg: u256 = jet::sig_all_hash();\n"
            "  jet::bip_0340_verify((pk, msg), sig);\n"
            "```\n");
}

TEST(FindUserFunctionTest, ShowsDocumentationAndAMultiLineSignature) {
  const std::string text =
      "// Adds one.\n"
      "\n"
      "/**\n"
      " * Never overflows.\n"
      " */\n"
      "  fn   inc  (\n"
      "\ta: u8,\r\n"
      "  ) -> u8 { // body\n"
      "\tjet::add_8(a, 1)\n"
      "}\n";
  EXPECT_EQ(find_user_function(text, "inc"),
            "# `inc` - User-Defined Function\n"
            "\n"
            "## Documentation\n"
            "Adds one.\n"
            "Never overflows.\n"
            "\n"
            "## Signature\n"
            "```simplicity\n"
            "fn   inc  ( a: u8, ) -> u8 { // body\n"
            "```\n"
            "\n"
            "## Implementation\n"
            "```simplicity\n"
            "\tjet::add_8(a, 1)\n"
            "```\n");
}

TEST(FindUserFunctionTest, WithoutAnOpeningBraceTheSignatureRunsToTheEnd) {
  EXPECT_EQ(find_user_function("//\nfn f(a: u8)\n  -> u8\n\n", "f"),
            "# `f` - User-Defined Function\n"
            "\n"
            "## Documentation\n"
            "\n"
            "## Signature\n"
            "```simplicity\n"
            "fn f(a: u8) -> u8  \n"
            "```\n"
            "\n");
}

// The body shown for `name`: the lines between "## Implementation\n```simplicity\n" and the closing fence,
// or "-" when the page has no Implementation section.
std::string body_shown(const std::string& text, const std::string& name) {
  const std::optional<std::string> page = find_user_function(text, name);
  if (!page) {
    return "not found";
  }
  const std::string opening = "## Implementation\n```simplicity\n";
  const std::size_t start = page->find(opening);
  if (start == std::string::npos) {
    return "-";
  }
  EXPECT_TRUE(page->ends_with("```\n")) << *page;
  return page->substr(start + opening.size(), page->size() - start - opening.size() - 4);
}

TEST(FindUserFunctionTest, BodyEndsWhereTheBracesClose) {
  // Braces count wherever they stand, comments included.
  EXPECT_EQ(body_shown("fn f() {\n  // {\n  x\n}\n  after\n}\nrest\n", "f"), "  // {\n  x\n}\n  after\n");
  EXPECT_EQ(body_shown("fn f() {\n  x // }\n  y\n}\n", "f"), "-");
  EXPECT_EQ(body_shown("fn f() {\n  a\n\n  b\n", "f"), "  a\n\n  b\n");
  EXPECT_EQ(body_shown("fn f() {\r\n  a\r\n}\r\n", "f"), "  a\n");
  EXPECT_EQ(body_shown("fn f() {", "f"), "-");
  // The braces after the opening one on the signature's last line count too.
  EXPECT_EQ(body_shown("fn one() { 1 }\nfn two() {\n  2\n}\n", "one"), "-");
  EXPECT_EQ(body_shown("fn g() { if x {\n  y\n}\n  z\n}\nafter\n", "g"), "  y\n}\n  z\n");
  EXPECT_EQ(body_shown("fn h(\n  a: u8) { match a {\n  _ => 0,\n  }\n}\n", "h"), "  _ => 0,\n  }\n");
  // Once closed, the function stays closed, whatever else its line holds.
  EXPECT_EQ(body_shown("fn k() { } {\n  x\n}\n", "k"), "-");
}

TEST(FindUserFunctionTest, ShowsTenBodyLinesAtMost) {
  const auto function = [](int lines) {
    std::string text = "fn f() {\n";
    for (int i = 0; i < lines; ++i) {
      text += "  line" + std::to_string(i) + "\n";
    }
    return text + "}\n";
  };
  const std::string ten = "  line0\n  line1\n  line2\n  line3\n  line4\n  line5\n  line6\n  line7\n  line8\n  line9\n";
  EXPECT_EQ(body_shown(function(10), "f"), ten);
  EXPECT_EQ(body_shown(function(11), "f"), ten + "  // ... rest of function\n");
  EXPECT_EQ(body_shown(function(500), "f"), ten + "  // ... rest of function\n");
  // A line is in the body when the function is still open after it, whatever braces it holds.
  EXPECT_EQ(body_shown("fn f() {\n" + ten + "  {}\n}\n", "f"), ten + "  // ... rest of function\n");
}

TEST(FindUserFunctionTest, MatchesOnlyTheNameBetweenFnAndTheParenthesis) {
  EXPECT_EQ(body_shown("fn f() {\n  first\n}\nfn f() {\n  second\n}\n", "f"), "  first\n");
  EXPECT_EQ(body_shown("fn f<T>(a: T) {\n  a\n}\n", "f<T>"), "  a\n");
  EXPECT_EQ(body_shown("\t fn \u00a0f\u3000 () {}\n", "f"), "-");
  for (const char* text : {"fn\tf() {\n}\n", "pub fn f() {\n}\n", "fnf() {\n}\n", "fn f {\n}\n",
                           "fn f<T>(a: T) {\n}\n", "fn g() {\n  f()\n}\n", "// fn f() {\n", "fn ff() {\n}\n",
                           "fn F() {\n}\n", "const f: u8 = 0;\n", ""}) {
    EXPECT_EQ(find_user_function(text, "f"), std::nullopt) << text;
  }
}

TEST(FindUserConstantTest, ShowsTheTrimmedDefinitionLine) {
  EXPECT_EQ(find_user_constant("// Block height\n\nconst TIMEOUT: Height = 1000;\nfn f() {\n  g(TIMEOUT);\n}\n",
                               "TIMEOUT"),
            "# `TIMEOUT` - User-Defined Constant\n"
            "\n"
            "## Documentation\n"
            "Block height\n"
            "\n"
            "## Definition\n"
            "```simplicity\n"
            "const TIMEOUT: Height = 1000;\n"
            "```\n");
  EXPECT_EQ(find_user_constant("  const  MAX :u8 = 255; // the top\t\r\n", "MAX"),
            "# `MAX` - User-Defined Constant\n"
            "\n"
            "## Definition\n"
            "```simplicity\n"
            "const  MAX :u8 = 255; // the top\n"
            "```\n");
  // The closing marker of a block comment is no documentation line.
  EXPECT_EQ(find_user_constant("let a = 0;\n/**\n * Limit.\n */\nconst L: u8 = 1;\n", "L"),
            "# `L` - User-Defined Constant\n"
            "\n"
            "## Documentation\n"
            "Limit.\n"
            "\n"
            "## Definition\n"
            "```simplicity\n"
            "const L: u8 = 1;\n"
            "```\n");
}

TEST(FindUserConstantTest, MatchesOnlyTheNameBetweenConstAndTheColon) {
  const std::string first = "const X: u8 = 1;\nconst X: u16 = 2;\n";
  ASSERT_TRUE(find_user_constant(first, "X"));
  EXPECT_TRUE(find_user_constant(first, "X")->ends_with("const X: u8 = 1;\n```\n"));
  for (const char* text : {"const X = 1;\n", "const\tX: u8 = 1;\n", "pub const X: u8 = 1;\n", "constX: u8 = 1;\n",
                           "const XY: u8 = 1;\n", "const x: u8 = 1;\n", "fn X() {\n}\n", "let X: u8 = 1;\n"}) {
    EXPECT_EQ(find_user_constant(text, "X"), std::nullopt) << text;
  }
  EXPECT_EQ(find_user_constant("const X: u8 = 1;\n", "X:"), std::nullopt);
}

}  // namespace
}  // namespace tarnu::hover
