// JSON-RPC 2.0 messages: what a body decodes to, and the texts of the messages the server sends.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include <nlohmann/json.hpp>

namespace tarnu::jsonrpc {

using nlohmann::json;

// A request identifier: an integer, a string or null, compared by kind and value.
struct Id {
  std::variant<std::nullptr_t, std::int64_t, std::string> value;
  friend bool operator==(const Id&, const Id&) = default;
};

struct IdHash {
  std::size_t operator()(const Id& id) const noexcept;
};

// A request (with an id) or a notification (without).
struct Call {
  std::string method;          // empty when the message has none
  std::optional<json> params;  // a present null is present
  std::optional<Id> id;
};

// A response from the editor to a request of the server.
struct Response {
  Id id;
};

// The error member of a reply.
struct Error {
  int code;
  std::string message;
  std::optional<json> data;
};

// The error codes of the protocol.
namespace codes {
inline constexpr int parse_error = -32700;
inline constexpr int invalid_request = -32600;
inline constexpr int method_not_found = -32601;
inline constexpr int invalid_params = -32602;
inline constexpr int internal_error = -32603;
inline constexpr int server_not_initialized = -32002;
inline constexpr int request_cancelled = -32800;
}  // namespace codes

namespace errors {
Error parse();
Error invalid_request();
}  // namespace errors

// Decodes one message body. The result is a Call, a Response, or the Error that the editor is answered
// with (ParseError for text that is not JSON, InvalidRequest for JSON that is not a message).
using Decoded = std::variant<Call, Response, Error>;
Decoded decode_message(std::string_view body);

// Message texts in the member order the protocol's peers expect.
std::string encode_result(const Id& id, const json& result);
std::string encode_error(const Id& id, const Error& error);
std::string encode_notification(std::string_view method, const json& params);

}  // namespace tarnu::jsonrpc
