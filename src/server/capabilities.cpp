#include "server/capabilities.h"

#include <nlohmann/json.hpp>

#include "lsp/results.h"

namespace tarnu::server {

lsp::ServerCapabilities server_capabilities() {
  return {
      .textDocumentSync = lsp::TextDocumentSyncKind::Full,  // the document store keeps whole texts only
      .hoverProvider = true,
      .completionProvider = lsp::CompletionOptions{.resolveProvider = false, .triggerCharacters = {{"."}}},
  };
}

lsp::InitializeResult initialize_result() {
  return {.capabilities = server_capabilities(),
          .serverInfo = lsp::ServerInfo{.name = "Tarnu Language Server", .version = "0.1.0"}};
}

std::string capabilities_text() { return lsp::to_ordered_json(server_capabilities()).dump(2); }

}  // namespace tarnu::server
