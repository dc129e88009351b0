// URL parsing after the WHATWG URL Standard: the basic parser for absolute input and the href serialisation.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarnu::support {

// Parses `input` as an absolute URL (there is no base URL) and returns its serialisation (the `href`),
// or nothing when the Standard calls the input a validation failure.
std::optional<std::string> normalize_url(std::string_view input);

}  // namespace tarnu::support
