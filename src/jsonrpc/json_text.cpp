#include "jsonrpc/json_text.h"

#include <charconv>
#include <vector>

#include <nlohmann/json.hpp>

#include "jsonrpc/utf8.h"

namespace tarnu::jsonrpc {
namespace {

void write_double(std::string& out, double value) {
  char buffer[32];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  if (ec != std::errc() || !std::isfinite(value)) {
    out += "null";  // JSON has no spelling for infinities or NaN
    return;
  }
  std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
  out += text;
  if (text.find_first_of(".e") == std::string_view::npos) out += ".0";  // keep it a floating-point number
}

void write_scalar(std::string& out, const nlohmann::json& value) {
  char buffer[24];
  switch (value.type()) {
    case nlohmann::json::value_t::null:
      out += "null";
      break;
    case nlohmann::json::value_t::boolean:
      out += value.get<bool>() ? "true" : "false";
      break;
    case nlohmann::json::value_t::number_integer: {
      auto end = std::to_chars(buffer, buffer + sizeof buffer, value.get<std::int64_t>()).ptr;
      out.append(buffer, end);
      break;
    }
    case nlohmann::json::value_t::number_unsigned: {
      auto end = std::to_chars(buffer, buffer + sizeof buffer, value.get<std::uint64_t>()).ptr;
      out.append(buffer, end);
      break;
    }
    case nlohmann::json::value_t::number_float:
      write_double(out, value.get<double>());
      break;
    case nlohmann::json::value_t::string:
      write_json_string(out, value.get_ref<const std::string&>());
      break;
    default:
      throw JsonWriteError("value of a type that JSON text cannot hold");
  }
}

}  // namespace

void write_json_string(std::string& out, std::string_view text) {
  if (!is_valid_utf8(text)) throw JsonWriteError("string is not valid UTF-8");
  static constexpr char hex[] = "0123456789abcdef";
  out += '"';
  std::size_t run = 0;  // start of the bytes not yet copied
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c != '"' && c != '\\') continue;
    out.append(text, run, i - run);
    run = i + 1;
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\f': out += "\\f"; break;
      case '\r': out += "\\r"; break;
      default:
        out += "\\u00";
        out += hex[c >> 4];
        out += hex[c & 0xf];
    }
  }
  out.append(text, run, text.size() - run);
  out += '"';
}

void write_json(std::string& out, const nlohmann::json& value) {
  struct Level {
    const nlohmann::json* container;
    nlohmann::json::const_iterator next;
  };
  std::vector<Level> stack;
  const nlohmann::json* current = &value;
  for (;;) {
    if (current) {
      if (current->is_object() || current->is_array()) {
        out += current->is_object() ? '{' : '[';
        stack.push_back({current, current->cbegin()});
      } else {
        write_scalar(out, *current);
      }
      current = nullptr;
    }
    if (stack.empty()) return;
    auto& level = stack.back();
    if (level.next == level.container->cend()) {
      out += level.container->is_object() ? '}' : ']';
      stack.pop_back();
      continue;
    }
    if (level.next != level.container->cbegin()) out += ',';
    if (level.container->is_object()) {
      write_json_string(out, level.next.key());
      out += ':';
    }
    current = &*level.next;
    ++level.next;
  }
}

std::string to_json_text(const nlohmann::json& value) {
  std::string out;
  write_json(out, value);
  return out;
}

}  // namespace tarnu::jsonrpc
