// Cutting a text into lines, from the top and from a line upwards, must agree on every line ending.
#include "hover/lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnu::hover {
namespace {

struct LinesCase {
  std::string text;
  std::vector<std::string> lines;
};

class LinesTest : public testing::TestWithParam<LinesCase> {};

TEST_P(LinesTest, TopDownUpwardAndByNumberAgree) {
  const LinesCase& c = GetParam();
  std::vector<std::string> seen;
  std::vector<std::size_t> starts;
  for (Lines lines(c.text); auto line = lines.next();) {
    seen.emplace_back(*line);
    starts.push_back(lines.start());
  }
  ASSERT_EQ(seen, c.lines);

  for (std::size_t i = 0; i < c.lines.size(); ++i) {
    EXPECT_EQ(line_at(c.text, i), c.lines[i]) << "line " << i;
    std::vector<std::string> above;
    for (LinesAbove up(c.text, starts[i]); auto line = up.next();) {
      above.emplace_back(*line);
    }
    const std::vector<std::string> expected(c.lines.rend() - static_cast<std::ptrdiff_t>(i), c.lines.rend());
    EXPECT_EQ(above, expected) << "above line " << i;
  }
  EXPECT_EQ(line_at(c.text, c.lines.size()), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Endings, LinesTest,
    testing::Values(LinesCase{"", {}}, LinesCase{"a", {"a"}}, LinesCase{"a\n", {"a"}},
                    LinesCase{"\n", {""}}, LinesCase{"a\n\n", {"a", ""}}, LinesCase{"\n\nb", {"", "", "b"}},
                    LinesCase{"a\r\nb\r\n", {"a", "b"}}, LinesCase{"\r\n\r\nb", {"", "", "b"}},
                    // A carriage return that no line feed follows is text.
                    LinesCase{"a\rb\n", {"a\rb"}}, LinesCase{"a\r", {"a\r"}}, LinesCase{"a\r\r\nb", {"a\r", "b"}},
                    LinesCase{"\r", {"\r"}}));

}  // namespace
}  // namespace tarnu::hover
