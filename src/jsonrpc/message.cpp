#include "jsonrpc/message.h"

#include <functional>

#include "jsonrpc/json_reader.h"
#include "jsonrpc/json_text.h"

namespace tarnu::jsonrpc {

std::size_t IdHash::operator()(const Id& id) const noexcept {
  return std::visit(
      [](const auto& v) -> std::size_t {
        using V = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<V, std::nullptr_t>) {
          return 0x9e3779b9;
        } else {
          return std::hash<V>{}(v) ^ (std::is_same_v<V, std::string> ? 0x5bd1e995 : 0);
        }
      },
      id.value);
}

namespace errors {
Error parse() { return {codes::parse_error, "Parse error", std::nullopt}; }
Error invalid_request() { return {codes::invalid_request, "Invalid request", std::nullopt}; }
}  // namespace errors

namespace {

std::optional<Id> to_id(const json& value) {
  switch (value.type()) {
    case json::value_t::null: return Id{nullptr};
    case json::value_t::number_integer: return Id{value.get<std::int64_t>()};
    case json::value_t::number_unsigned: {
      auto v = value.get<std::uint64_t>();
      if (v > static_cast<std::uint64_t>(INT64_MAX)) return std::nullopt;
      return Id{static_cast<std::int64_t>(v)};
    }
    case json::value_t::string: return Id{value.get<std::string>()};
    default: return std::nullopt;
  }
}

bool is_error_object(const json& value) {
  if (!value.is_object()) return false;
  auto code = value.find("code");
  auto message = value.find("message");
  return code != value.end() && code->is_number_integer() && message != value.end() && message->is_string();
}

}  // namespace

Decoded decode_message(std::string_view body) {
  auto parsed = read_json(body);
  if (!parsed) return errors::parse();
  json& message = parsed->value;
  if (!message.is_object()) return errors::invalid_request();
  for (const auto& name : parsed->repeated_members) {
    if (name == "jsonrpc" || name == "method" || name == "params" || name == "id" || name == "result" ||
        name == "error")
      return errors::invalid_request();  // which of the two counts is anybody's guess
  }

  auto version = message.find("jsonrpc");
  if (version == message.end() || !version->is_string() || version->get_ref<const std::string&>() != "2.0")
    return errors::invalid_request();

  std::optional<Id> id;
  bool has_id = false;
  if (auto it = message.find("id"); it != message.end()) {
    has_id = true;
    id = to_id(*it);
  }

  // Tried first as a response, then as a request or notification.
  if (has_id && id) {
    auto error = message.find("error");
    if (message.contains("result") || (error != message.end() && is_error_object(*error)))
      return Response{std::move(*id)};
  }
  if (has_id && !id) return errors::invalid_request();

  Call call;
  call.id = std::move(id);
  if (auto it = message.find("method"); it != message.end()) {
    if (!it->is_string()) return errors::invalid_request();
    call.method = std::move(it->get_ref<std::string&>());
  }
  if (auto it = message.find("params"); it != message.end()) call.params = std::move(*it);
  return call;
}

namespace {

void write_id(std::string& out, const Id& id) {
  std::visit(
      [&out](const auto& v) {
        using V = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<V, std::nullptr_t>) {
          out += "null";
        } else if constexpr (std::is_same_v<V, std::string>) {
          write_json_string(out, v);
        } else {
          out += std::to_string(v);
        }
      },
      id.value);
}

}  // namespace

std::string encode_result(const Id& id, const json& result) {
  std::string out = R"({"jsonrpc":"2.0","result":)";
  write_json(out, result);
  out += R"(,"id":)";
  write_id(out, id);
  out += '}';
  return out;
}

std::string encode_error(const Id& id, const Error& error) {
  std::string out = R"({"jsonrpc":"2.0","error":{"code":)";
  out += std::to_string(error.code);
  out += R"(,"message":)";
  write_json_string(out, error.message);
  if (error.data) {
    out += R"(,"data":)";
    write_json(out, *error.data);
  }
  out += R"(},"id":)";
  write_id(out, id);
  out += '}';
  return out;
}

std::string encode_notification(std::string_view method, const json& params) {
  std::string out = R"({"jsonrpc":"2.0","method":)";
  write_json_string(out, method);
  out += R"(,"params":)";
  write_json(out, params);
  out += '}';
  return out;
}

}  // namespace tarnu::jsonrpc
