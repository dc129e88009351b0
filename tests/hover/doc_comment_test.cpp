// Which lines above a definition are its comment, and what is left of each once the markers are gone.
#include "hover/doc_comment.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnu::hover {
namespace {

struct StripCase {
  std::string line;
  std::string text;
};

void PrintTo(const StripCase& c, std::ostream* out) { *out << testing::PrintToString(c.line); }

class StripCommentMarkerTest : public testing::TestWithParam<StripCase> {};

TEST_P(StripCommentMarkerTest, LeavesTheText) {
  EXPECT_EQ(strip_comment_marker(GetParam().line), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Markers, StripCommentMarkerTest,
    testing::Values(StripCase{"// text", "text"}, StripCase{"//// text", "text"}, StripCase{"/// text", "/ text"},
                    StripCase{"/** text", "text"}, StripCase{"/*/* text", "text"}, StripCase{"* text", "text"},
                    StripCase{"*** text", "text"}, StripCase{"/**", ""}, StripCase{"//", ""},
                    StripCase{"//\u00a0text\u3000", "text"},
                    // Each marker is removed once, in its turn: what a later removal uncovers stays.
                    StripCase{"/*// text", "// text"}, StripCase{"*// text", "// text"},
                    // A closing marker is no text, even where an opening marker would take its star.
                    StripCase{"*/", ""}, StripCase{"/** text */", "text"}, StripCase{"/**/", ""},
                    StripCase{"* text */", "text"}, StripCase{"// a */ b", "a */ b"}));

// The definition is the line "DEF"; the result is what is gathered above it.
std::vector<std::string> gathered(const std::string& text) {
  const std::size_t definition = text.find("DEF");
  std::vector<std::string> lines;
  for (const std::string_view line : collect_doc_comment(text, definition)) {
    lines.emplace_back(line);
  }
  return lines;
}

TEST(CollectDocCommentTest, GathersCommentLinesUpToTheFirstOtherLine) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(gathered("DEF\n"), Lines{});
  EXPECT_EQ(gathered("// only\nDEF"), Lines{"// only"});
  EXPECT_EQ(gathered("let x = 1;\nDEF"), Lines{});
  // Blank lines neither end the walk nor count, wherever they stand.
  EXPECT_EQ(gathered("\n \n// a\n\n// b\n\t\nDEF"), (Lines{"// a", "// b"}));
  EXPECT_EQ(gathered("// a\nlet x = 1;\n// b\nDEF"), Lines{"// b"});
  EXPECT_EQ(gathered("# heading\n// x\nDEF"), Lines{"// x"});
  EXPECT_EQ(gathered("/**\n * text\n */\nDEF"), (Lines{"/**", "* text", "*/"}));
  // A continued multiplication looks like a comment line and is taken as one.
  EXPECT_EQ(gathered("let y = a\n  * b;\nDEF"), Lines{"* b;"});
  EXPECT_EQ(gathered("  // one  \r\n\r\n\t/* two\r\nDEF\r\n"), (Lines{"// one", "/* two"}));
}

}  // namespace
}  // namespace tarnu::hover
