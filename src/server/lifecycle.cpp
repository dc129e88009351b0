// The handshake: what the server says about itself, its greeting, and shutdown.
#include "server/backend.h"
#include "server/capabilities.h"

namespace tarnu::server {

asio::awaitable<lsp::InitializeResult> Backend::initialize(lsp::InitializeParams) { co_return initialize_result(); }

asio::awaitable<void> Backend::initialized(lsp::InitializedParams) {
  co_await client_.send_log(lsp::MessageType::Info, "Tarnu Language Server initialized!");
}

// Stored documents stay: the editor may still ask before it exits.
asio::awaitable<void> Backend::shutdown() { co_return; }

}  // namespace tarnu::server
