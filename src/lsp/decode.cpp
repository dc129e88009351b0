#include "lsp/decode.h"

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
  std::string message = path_.empty() ? std::string("params") : path_;
  message += ": expected ";
  message += expected;
  message += ", found ";
  message += describe_value(found);
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

std::string alternatives_text(std::initializer_list<std::string_view> names) {
  std::string text;
  for (auto name : names) {
    if (!text.empty()) text += " or ";
    text += name;
  }
  return text;
}

}  // namespace tarnu::lsp
