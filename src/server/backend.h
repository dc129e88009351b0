// The handlers of one connection: the handshake, the open documents, hover and completion.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "lsp/client_handle.h"
#include "lsp/language_server.h"
#include "server/document_map.h"

namespace tarnu::server {

class Backend final : public lsp::LanguageServer {
 public:
  explicit Backend(lsp::ClientHandle client)
      : client_(std::move(client)), documents_(std::make_shared<DocumentMap>()) {}

  asio::awaitable<lsp::InitializeResult> initialize(lsp::InitializeParams params) override;
  asio::awaitable<void> initialized(lsp::InitializedParams params) override;
  asio::awaitable<void> shutdown() override;
  asio::awaitable<void> did_open(lsp::DidOpenTextDocumentParams params) override;
  asio::awaitable<void> did_change(lsp::DidChangeTextDocumentParams params) override;
  asio::awaitable<std::optional<lsp::Hover>> hover(lsp::HoverParams params) override;
  asio::awaitable<std::vector<lsp::CompletionItem>> completion(lsp::CompletionParams params) override;

  // The Markdown page for the word at `position` of a stored document, computed under the read lock.
  asio::awaitable<std::optional<std::string>> get_hover_information(const lsp::DocumentUri& uri,
                                                                     lsp::Position position);

 private:
  lsp::ClientHandle client_;
  std::shared_ptr<DocumentMap> documents_;
};

}  // namespace tarnu::server
