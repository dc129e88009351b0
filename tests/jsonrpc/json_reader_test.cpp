// The JSON reader against the grammar: what it accepts, what it refuses, and what values it builds.
#include <gtest/gtest.h>

#include "jsonrpc/json_reader.h"
#include "jsonrpc/json_text.h"

namespace tarnu::jsonrpc {
namespace {

TEST(ReadJson, BuildsTheValuesItReads) {
  struct Case {
    const char* text;
    const char* compact;
  } cases[] = {
      {" { \"b\" : [1, -2, 3.5e1, 0, -0, 1E-2] , \"a\":{}}\r\n", R"({"a":{},"b":[1,-2,35.0,0,0,0.01]})"},
      {R"("\"\\\/\b\f\n\r\t\u00e9\u20AC\ud83d\ude00")", "\"\\\"\\\\/\\b\\f\\n\\r\\t\u00e9\u20ac\U0001F600\""},
      {"[true,false,null,[]]", "[true,false,null,[]]"},
      {"18446744073709551615", "18446744073709551615"},
      {"-9223372036854775808", "-9223372036854775808"},
      {"18446744073709551616", "18446744073709551616.0"},
      {"\"raw \xc3\xa9 \xe2\x9c\x93\"", "\"raw \xc3\xa9 \xe2\x9c\x93\""},
  };
  for (const auto& c : cases) {
    auto parsed = read_json(c.text);
    ASSERT_TRUE(parsed) << c.text;
    EXPECT_EQ(to_json_text(parsed->value), c.compact) << c.text;
  }
}

TEST(ReadJson, RefusesWhatIsNotOneJsonValue) {
  for (const char* text : {
           "", " ", "{", "[1,]", "{\"a\":1,}", "{\"a\" 1}", "{1:2}", "[1 2]", "01", "1.", ".5", "-", "1e", "+1",
           "tru", "nul", "True", "\"unterminated", "\"\\x\"", "\"\\u12\"", "\"\\ud800\"", "\"\\udc00\"",
           "\"\\ud800\\u0041\"", "\"tab\there\"", "\"nl\nhere\"", "{}{}", "[] x", "'a'", "NaN", "\xef\xbb\xbf{}",
           "\"\xff\"", "\"\xc0\xaf\"",
       }) {
    EXPECT_FALSE(read_json(text)) << text;
  }
}

TEST(ReadJson, ReportsRepeatedMembersOfTheOutermostObjectOnly) {
  auto parsed = read_json(R"({"id":1,"x":{"y":1,"y":2},"id":2})");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->repeated_members, (std::vector<std::string>{"id"}));
  EXPECT_EQ(parsed->value["id"], 2);
  EXPECT_EQ(parsed->value["x"]["y"], 2);
}

TEST(ReadJson, KeepsLargeStringsWhole) {
  std::string text(8 << 20, 'a');
  text[12345] = '\n';
  auto parsed = read_json(R"({"text":")" + std::string(text).replace(12345, 1, "\\n") + "\"}");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->value["text"].get_ref<const std::string&>(), text);
}

}  // namespace
}  // namespace tarnu::jsonrpc
