#include "lsp/decode.h"

#include <algorithm>

#include "jsonrpc/json_text.h"
#include "support/url.h"

namespace tarnu::lsp {

std::size_t DecodeContext::enter(std::string_view name) {
  auto length = path_.size();
  if (!path_.empty()) path_ += '.';
  path_ += name;
  return length;
}

std::size_t DecodeContext::enter(std::size_t index) {
  auto length = path_.size();
  path_ += '[';
  path_ += std::to_string(index);
  path_ += ']';
  return length;
}

bool DecodeContext::fail(std::string_view expected, const json* found) {
  return fail_as(expected, describe_value(found));
}

bool DecodeContext::fail_as(std::string_view expected, std::string_view found) {
  std::string message = path_.empty() ? std::string("params") : path_;
  message += ": expected ";
  message += expected;
  message += ", found ";
  message += found;
  error_ = std::move(message);
  return false;
}

std::string describe_value(const json* value) {
  if (!value) return "nothing";
  if (value->is_object()) return "an object";
  if (value->is_array()) return "an array";
  std::string text = jsonrpc::to_json_text(*value);
  constexpr std::size_t limit = 60;  // keep descriptions short whatever the editor sent
  if (text.size() > limit) {
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xc0) == 0x80) --cut;  // whole characters
    text.resize(cut);
    text += "...";
  }
  return text;
}

std::optional<std::string> normalized_uri(const std::string& text) { return support::normalize_url(text); }

std::string array_text(std::size_t size) {
  return "an array of " + std::to_string(size) + (size == 1 ? " element" : " elements");
}

std::string alternatives_text(std::initializer_list<std::string> names) {
  // Several structures of a union are all "an object" to someone who only sees the value's kind.
  std::vector<std::string_view> distinct;
  for (const auto& name : names) {
    if (std::find(distinct.begin(), distinct.end(), name) == distinct.end()) distinct.push_back(name);
  }
  std::string text;
  for (std::size_t i = 0; i < distinct.size(); ++i) {
    if (i > 0) text += i + 1 == distinct.size() ? " or " : ", ";
    text += distinct[i];
  }
  return text;
}

}  // namespace tarnu::lsp
