#include "jsonrpc/json_reader.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "jsonrpc/utf8.h"

namespace tarnu::jsonrpc {
namespace {

using nlohmann::json;

class Reader {
 public:
  explicit Reader(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}

  bool read(ParsedJson& out);

 private:
  void skip_whitespace() {
    while (p_ < end_ && (*p_ == ' ' || *p_ == '\n' || *p_ == '\r' || *p_ == '\t')) ++p_;
  }
  bool consume(char c) {
    skip_whitespace();
    if (p_ == end_ || *p_ != c) return false;
    ++p_;
    return true;
  }
  bool read_key(ParsedJson& out);
  bool read_string(std::string& out);
  bool read_string_value(json& out) {
    out = json::string_t();
    return read_string(out.get_ref<json::string_t&>());
  }
  bool read_escape(std::string& out);
  bool read_hex4(unsigned& code);
  bool read_number(json& out);
  bool read_literal(std::string_view word, json value, json& out);
  json* place(json&& value, ParsedJson& out);

  const char* p_;
  const char* end_;
  std::vector<json*> open_;  // containers not yet closed, innermost last
  std::string key_;          // name of the member whose value comes next
};

json* Reader::place(json&& value, ParsedJson& out) {
  if (open_.empty()) {
    out.value = std::move(value);
    return &out.value;
  }
  json& parent = *open_.back();
  if (parent.is_array()) {
    // Only the innermost container is ever appended to, so no pointer on the stack moves.
    auto& array = parent.get_ref<json::array_t&>();
    array.push_back(std::move(value));
    return &array.back();
  }
  json& slot = parent.get_ref<json::object_t&>()[key_];
  slot = std::move(value);
  return &slot;
}

bool Reader::read_key(ParsedJson& out) {
  skip_whitespace();
  if (!read_string(key_) || !consume(':')) return false;
  if (open_.size() == 1 && open_.back()->contains(key_)) out.repeated_members.push_back(key_);
  return true;
}

bool Reader::read(ParsedJson& out) {
  for (;;) {
    // A value.
    skip_whitespace();
    if (p_ == end_) return false;
    char c = *p_;
    if (c == '{' || c == '[') {
      ++p_;
      json* container = place(c == '{' ? json::object() : json::array(), out);
      open_.push_back(container);
      if (consume(c == '{' ? '}' : ']')) {
        open_.pop_back();
      } else {
        if (c == '{' && !read_key(out)) return false;
        continue;
      }
    } else {
      json value;
      bool ok = c == '"'   ? read_string_value(value)
                : c == 't' ? read_literal("true", json(true), value)
                : c == 'f' ? read_literal("false", json(false), value)
                : c == 'n' ? read_literal("null", json(nullptr), value)
                           : read_number(value);
      if (!ok) return false;
      place(std::move(value), out);
    }
    // What follows a value: the end of the text, a separator, or the end of containers.
    for (;;) {
      skip_whitespace();
      if (open_.empty()) return p_ == end_;
      if (p_ == end_) return false;
      bool object = open_.back()->is_object();
      if (*p_ == ',') {
        ++p_;
        if (object && !read_key(out)) return false;
        break;
      }
      if (*p_ != (object ? '}' : ']')) return false;
      ++p_;
      open_.pop_back();
    }
  }
}

bool Reader::read_string(std::string& out) {
  if (p_ == end_ || *p_ != '"') return false;
  ++p_;
  out.clear();
  for (;;) {
    const char* run = p_;
    while (p_ < end_ && *p_ != '"' && *p_ != '\\' && static_cast<unsigned char>(*p_) >= 0x20) ++p_;
    out.append(run, static_cast<std::size_t>(p_ - run));
    if (p_ == end_) return false;
    if (*p_ == '"') {
      ++p_;
      return true;
    }
    if (*p_ != '\\') return false;  // a raw control character
    ++p_;
    if (!read_escape(out)) return false;
  }
}

bool Reader::read_hex4(unsigned& code) {
  if (end_ - p_ < 4) return false;
  code = 0;
  for (int i = 0; i < 4; ++i) {
    char c = *p_++;
    code <<= 4;
    if (c >= '0' && c <= '9') {
      code |= static_cast<unsigned>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      code |= static_cast<unsigned>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      code |= static_cast<unsigned>(c - 'A' + 10);
    } else {
      return false;
    }
  }
  return true;
}

bool Reader::read_escape(std::string& out) {
  if (p_ == end_) return false;
  switch (*p_++) {
    case '"': out += '"'; return true;
    case '\\': out += '\\'; return true;
    case '/': out += '/'; return true;
    case 'b': out += '\b'; return true;
    case 'f': out += '\f'; return true;
    case 'n': out += '\n'; return true;
    case 'r': out += '\r'; return true;
    case 't': out += '\t'; return true;
    case 'u': break;
    default: return false;
  }
  unsigned code;
  if (!read_hex4(code)) return false;
  if (code >= 0xdc00 && code <= 0xdfff) return false;  // a low surrogate alone
  if (code >= 0xd800 && code <= 0xdbff) {               // must pair with a low surrogate
    unsigned low;
    if (end_ - p_ < 2 || p_[0] != '\\' || p_[1] != 'u') return false;
    p_ += 2;
    if (!read_hex4(low) || low < 0xdc00 || low > 0xdfff) return false;
    code = 0x10000 + ((code - 0xd800) << 10) + (low - 0xdc00);
  }
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xc0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3f));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xe0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
    out += static_cast<char>(0x80 | (code & 0x3f));
  } else {
    out += static_cast<char>(0xf0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3f));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
    out += static_cast<char>(0x80 | (code & 0x3f));
  }
  return true;
}

bool Reader::read_number(json& out) {
  const char* start = p_;
  auto digits = [this] {
    const char* from = p_;
    while (p_ < end_ && *p_ >= '0' && *p_ <= '9') ++p_;
    return p_ > from;
  };
  bool negative = p_ < end_ && *p_ == '-';
  if (negative) ++p_;
  if (p_ < end_ && *p_ == '0') {
    ++p_;
  } else if (!digits()) {
    return false;
  }
  bool integral = true;
  if (p_ < end_ && *p_ == '.') {
    ++p_;
    integral = false;
    if (!digits()) return false;
  }
  if (p_ < end_ && (*p_ == 'e' || *p_ == 'E')) {
    ++p_;
    integral = false;
    if (p_ < end_ && (*p_ == '+' || *p_ == '-')) ++p_;
    if (!digits()) return false;
  }
  if (integral) {
    if (negative) {
      std::int64_t value;
      if (std::from_chars(start, p_, value).ec == std::errc()) {
        out = value;
        return true;
      }
    } else {
      std::uint64_t value;
      if (std::from_chars(start, p_, value).ec == std::errc()) {
        out = value;
        return true;
      }
    }
  }
  // Fractions, exponents and integers too wide for 64 bits become floating point.
  double value;
  auto [end, error] = std::from_chars(start, p_, value);
  if (error == std::errc::result_out_of_range) value = std::strtod(std::string(start, p_).c_str(), nullptr);
  else if (error != std::errc() || end != p_) return false;
  out = value;
  return true;
}

bool Reader::read_literal(std::string_view word, json value, json& out) {
  if (static_cast<std::size_t>(end_ - p_) < word.size() || std::string_view(p_, word.size()) != word) return false;
  p_ += word.size();
  out = std::move(value);
  return true;
}

}  // namespace

std::optional<ParsedJson> read_json(std::string_view text) {
  if (!is_valid_utf8(text)) return std::nullopt;
  ParsedJson parsed;
  if (!Reader(text).read(parsed)) return std::nullopt;
  return parsed;
}

}  // namespace tarnu::jsonrpc
