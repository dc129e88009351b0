#include "jsonrpc/message.h"

#include <functional>
#include <vector>

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

// Builds the value tree from parser events. The parser itself keeps no recursion, and neither does this,
// so the depth of the input does not reach the thread's stack. It also notes a repeated member of the
// message object, which makes the message invalid.
class TreeBuilder {
 public:
  using number_integer_t = json::number_integer_t;
  using number_unsigned_t = json::number_unsigned_t;
  using number_float_t = json::number_float_t;
  using string_t = json::string_t;
  using binary_t = json::binary_t;

  bool null() { return add(json(nullptr)); }
  bool boolean(bool v) { return add(json(v)); }
  bool number_integer(number_integer_t v) { return add(json(v)); }
  bool number_unsigned(number_unsigned_t v) { return add(json(v)); }
  bool number_float(number_float_t v, const string_t&) { return add(json(v)); }
  bool string(string_t& v) { return add(json(std::move(v))); }
  bool binary(binary_t&) { return false; }
  bool start_object(std::size_t) { return open(json::object()); }
  bool end_object() { return close(); }
  bool start_array(std::size_t) { return open(json::array()); }
  bool end_array() { return close(); }
  bool key(string_t& name) {
    if (stack_.size() == 1 && is_message_member(name) && stack_.back()->contains(name)) repeated_member_ = true;
    key_ = std::move(name);
    return true;
  }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) { return false; }

  json& root() { return root_; }
  bool repeated_member() const { return repeated_member_; }

 private:
  static bool is_message_member(std::string_view name) {
    return name == "jsonrpc" || name == "method" || name == "params" || name == "id" || name == "result" ||
           name == "error";
  }

  json* place(json&& value) {
    if (stack_.empty()) {
      root_ = std::move(value);
      return &root_;
    }
    json& parent = *stack_.back();
    if (parent.is_array()) {
      auto& array = parent.get_ref<json::array_t&>();
      array.push_back(std::move(value));
      return &array.back();
    }
    json& slot = parent.get_ref<json::object_t&>()[key_];
    slot = std::move(value);
    return &slot;
  }
  bool add(json&& value) {
    place(std::move(value));
    return true;
  }
  bool open(json&& container) {
    stack_.push_back(place(std::move(container)));
    return true;
  }
  bool close() {
    stack_.pop_back();
    return true;
  }

  json root_;
  std::vector<json*> stack_;
  std::string key_;
  bool repeated_member_ = false;
};

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
  TreeBuilder builder;
  if (!json::sax_parse(body.begin(), body.end(), &builder, nlohmann::detail::input_format_t::json, true))
    return errors::parse();
  json& message = builder.root();
  if (!message.is_object() || builder.repeated_member()) return errors::invalid_request();

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
      return Response{std::move(*id), std::move(message)};
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
