// Full-text document synchronisation: every open and change stores the whole text and is logged.
#include "server/backend.h"

namespace tarnu::server {

asio::awaitable<void> Backend::did_open(lsp::DidOpenTextDocumentParams params) {
  auto& document = params.textDocument;
  auto writer = co_await documents_->write();
  std::string message = "File opened: " + document.uri.href;
  writer.store(std::move(document.uri.href), std::move(document.text));
  // The write lock is held until the editor's log message has been queued.
  co_await client_.send_log(lsp::MessageType::Info, std::move(message));
}

asio::awaitable<void> Backend::did_change(lsp::DidChangeTextDocumentParams params) {
  auto& uri = params.textDocument.uri.href;
  std::string message = "File changed: " + uri;
  if (!params.contentChanges.empty()) {
    // Each change replaces the whole text, in order, so the last one is the document now.
    auto writer = co_await documents_->write();
    writer.store(std::move(uri), std::move(params.contentChanges.back().text));
  }
  co_await client_.send_log(lsp::MessageType::Info, std::move(message));
}

}  // namespace tarnu::server
