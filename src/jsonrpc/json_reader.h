// Reads one JSON text (RFC 8259) into a value tree.
//
// Written for message bodies, which may hold whole documents: a string is copied once, straight from the
// input into its value, and nesting is kept on a heap stack, so no input can exhaust the thread's stack.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace tarnu::jsonrpc {

struct ParsedJson {
  nlohmann::json value;
  // Names that occur more than once in the outermost object (the later value is kept).
  std::vector<std::string> repeated_members;
};

// Nothing when `text` is not exactly one JSON value (surrounding whitespace aside) or is not valid UTF-8.
std::optional<ParsedJson> read_json(std::string_view text);

}  // namespace tarnu::jsonrpc
