#include "hover/hover.h"
#include "server/backend.h"

namespace tarnu::server {

asio::awaitable<std::optional<lsp::Hover>> Backend::hover(lsp::HoverParams params) {
  auto page = co_await get_hover_information(params.textDocument.uri, params.position);
  if (!page) co_return std::nullopt;
  co_return lsp::Hover{lsp::MarkupContent{"markdown", std::move(*page)}};
}

asio::awaitable<std::optional<std::string>> Backend::get_hover_information(const lsp::DocumentUri& uri,
                                                                            lsp::Position position) {
  auto reader = co_await documents_->read();
  const std::string* text = reader.find(uri.href);
  if (!text) co_return std::nullopt;
  co_return hover::hover_page(*text, position.line, position.character);
}

}  // namespace tarnu::server
