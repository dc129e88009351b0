// Compact JSON text as it goes on the wire: members in the order the value holds them (sorted by name for
// nlohmann::json), no whitespace, only the escapes JSON requires, everything else written unchanged.
#pragma once

#include <stdexcept>
#include <string>

#include <nlohmann/json_fwd.hpp>

namespace tarnu::jsonrpc {

struct JsonWriteError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Appends `value` to `out`. The walk keeps its own stack, so the nesting depth of the value does not
// touch the thread's stack. Throws JsonWriteError for strings that are not valid UTF-8.
void write_json(std::string& out, const nlohmann::json& value);
std::string to_json_text(const nlohmann::json& value);

// Appends `text` as a JSON string literal.
void write_json_string(std::string& out, std::string_view text);

}  // namespace tarnu::jsonrpc
