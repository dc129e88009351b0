// The operations a language server implements. They see decoded parameters and return plain results;
// the connection decides when they run and turns their results into replies.
#pragma once

#include <optional>
#include <vector>

#include <asio/awaitable.hpp>

#include "lsp/types.h"

namespace tarnu::lsp {

class LanguageServer {
 public:
  virtual ~LanguageServer() = default;

  virtual asio::awaitable<InitializeResult> initialize(InitializeParams params) = 0;
  virtual asio::awaitable<void> initialized(InitializedParams params) = 0;
  virtual asio::awaitable<void> shutdown() = 0;
  virtual asio::awaitable<void> did_open(DidOpenTextDocumentParams params) = 0;
  virtual asio::awaitable<void> did_change(DidChangeTextDocumentParams params) = 0;
  virtual asio::awaitable<std::optional<Hover>> hover(HoverParams params) = 0;
  virtual asio::awaitable<std::vector<CompletionItem>> completion(CompletionParams params) = 0;
};

}  // namespace tarnu::lsp
