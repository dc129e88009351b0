// UTF-8 validation (RFC 3629: no overlong forms, no surrogates, nothing above U+10FFFF).
#pragma once

#include <string_view>

namespace tarnu::jsonrpc {

bool is_valid_utf8(std::string_view text) noexcept;

}  // namespace tarnu::jsonrpc
