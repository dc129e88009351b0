// The JSON form of the results the server sends.
#pragma once

#include <optional>
#include <vector>

#include <nlohmann/json.hpp>

#include "lsp/types.h"

namespace tarnu::lsp {

nlohmann::json to_json(const ServerCapabilities& capabilities);
nlohmann::json to_json(const InitializeResult& result);
nlohmann::json to_json(std::optional<Hover>&& hover);
nlohmann::json to_json(std::vector<CompletionItem>&& items);

// Capabilities in the protocol's declaration order, for display rather than for the wire.
nlohmann::ordered_json to_ordered_json(const ServerCapabilities& capabilities);

}  // namespace tarnu::lsp
