// What the server advertises: one capability value for the initialize reply and for the host's query.
#pragma once

#include <string>

#include "lsp/types.h"

namespace tarnu::server {

lsp::ServerCapabilities server_capabilities();
lsp::InitializeResult initialize_result();

// The capabilities as pretty-printed JSON in declaration order (two-space indentation, no final newline).
// Throws std::exception when the value cannot be written as JSON.
std::string capabilities_text();

}  // namespace tarnu::server
