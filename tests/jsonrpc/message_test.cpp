// Decoding message bodies and writing message texts.
#include <string>

#include <gtest/gtest.h>

#include "jsonrpc/json_text.h"
#include "jsonrpc/message.h"

namespace tarnu::jsonrpc {
namespace {

std::string nested_arrays(std::size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); }

TEST(DecodeMessage, ClassifiesRequestsNotificationsAndResponses) {
  auto request = decode_message(R"({"jsonrpc":"2.0","id":"a","method":"m","params":null,"extra":1})");
  ASSERT_TRUE(std::holds_alternative<Call>(request));
  const auto& call = std::get<Call>(request);
  EXPECT_EQ(call.method, "m");
  EXPECT_EQ(call.id, Id{std::string("a")});
  ASSERT_TRUE(call.params.has_value());  // a present null is present
  EXPECT_TRUE(call.params->is_null());

  auto notification = decode_message(R"({"jsonrpc":"2.0"})");
  ASSERT_TRUE(std::holds_alternative<Call>(notification));
  EXPECT_EQ(std::get<Call>(notification).method, "");
  EXPECT_FALSE(std::get<Call>(notification).id.has_value());

  EXPECT_TRUE(std::holds_alternative<Response>(decode_message(R"({"jsonrpc":"2.0","id":3,"result":null})")));
  EXPECT_TRUE(std::holds_alternative<Response>(
      decode_message(R"({"jsonrpc":"2.0","id":3,"error":{"code":1,"message":"x"}})")));
  // An error member that is not an error object is not a response; the id makes it a request.
  auto odd = decode_message(R"({"jsonrpc":"2.0","id":3,"error":"x"})");
  ASSERT_TRUE(std::holds_alternative<Call>(odd));
  EXPECT_EQ(std::get<Call>(odd).id, Id{std::int64_t{3}});
}

TEST(DecodeMessage, IdsKeepTheirKind) {
  EXPECT_EQ(std::get<Call>(decode_message(R"({"jsonrpc":"2.0","id":-9223372036854775808})")).id,
            Id{std::int64_t{INT64_MIN}});
  EXPECT_EQ(std::get<Call>(decode_message(R"({"jsonrpc":"2.0","id":null})")).id, Id{nullptr});
  EXPECT_NE(Id{std::int64_t{1}}, Id{std::string("1")});
  EXPECT_NE(IdHash{}(Id{std::int64_t{0}}), IdHash{}(Id{std::string("")}));
}

TEST(DecodeMessage, DeeplyNestedInputNeitherOverflowsNorIsRefused) {
  std::string body = R"({"jsonrpc":"2.0","id":1,"method":"shutdown","params":)" + nested_arrays(100000) + "}";
  auto decoded = decode_message(body);
  ASSERT_TRUE(std::holds_alternative<Call>(decoded));
  EXPECT_EQ(to_json_text(*std::get<Call>(decoded).params), nested_arrays(100000));

  auto unbalanced = decode_message(std::string(200000, '['));
  ASSERT_TRUE(std::holds_alternative<Error>(unbalanced));
  EXPECT_EQ(std::get<Error>(unbalanced).code, codes::parse_error);
}

TEST(JsonText, EscapesOnlyWhatJsonRequires) {
  json value = {{"z", "\"\\/\b\f\n\r\t\x01\x1f\x7f é ✓"}, {"a", {1, -2, 2.5, 1.0, true, nullptr}}};
  EXPECT_EQ(to_json_text(value),
            R"({"a":[1,-2,2.5,1.0,true,null],"z":"\"\\/\b\f\n\r\t\u0001\u001f)" "\x7f" R"( é ✓"})");
}

TEST(JsonText, RefusesStringsThatAreNotUtf8) {
  EXPECT_THROW(to_json_text(json("\xff")), JsonWriteError);
  EXPECT_THROW(to_json_text(json("\xed\xa0\x80")), JsonWriteError);  // a surrogate
}

TEST(EncodeMessages, MembersComeInTheProtocolsOrder) {
  EXPECT_EQ(encode_result(Id{std::int64_t{4}}, json{{"b", 1}, {"a", 2}}),
            R"({"jsonrpc":"2.0","result":{"a":2,"b":1},"id":4})");
  EXPECT_EQ(encode_error(Id{nullptr}, errors::parse()),
            R"({"jsonrpc":"2.0","error":{"code":-32700,"message":"Parse error"},"id":null})");
  EXPECT_EQ(encode_error(Id{std::string("x")}, Error{-32601, "Method not found", json("a/b")}),
            R"({"jsonrpc":"2.0","error":{"code":-32601,"message":"Method not found","data":"a/b"},"id":"x"})");
  EXPECT_EQ(encode_notification("window/logMessage", json{{"type", 3}, {"message", "m"}}),
            R"({"jsonrpc":"2.0","method":"window/logMessage","params":{"message":"m","type":3}})");
}

}  // namespace
}  // namespace tarnu::jsonrpc
