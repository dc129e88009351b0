// Pages for the functions and constants that a document defines itself, found by scanning its lines:
// no parser, no scopes, the first definition from the top wins.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarnu::hover {

// The page of the first function of `text` named `word`: a line that begins with "fn " after trimming, whose
// name is what stands between that "fn " and the first "(". Shows its comment, its signature (the lines up to
// the one with the first "{", joined by spaces) and the first ten lines of its body.
std::optional<std::string> find_user_function(std::string_view text, std::string_view word);

// The page of the first constant of `text` named `word`: a line that begins with "const " after trimming,
// whose name is what stands between that "const " and the first ":". Shows its comment and that line.
std::optional<std::string> find_user_constant(std::string_view text, std::string_view word);

}  // namespace tarnu::hover
