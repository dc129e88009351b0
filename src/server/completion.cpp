#include "docs/completion_catalogue.h"
#include "server/backend.h"

namespace tarnu::server {

// The whole catalogue for every request: narrowing it to what was typed is the editor's job.
asio::awaitable<std::vector<lsp::CompletionItem>> Backend::completion(lsp::CompletionParams) {
  auto catalogue = docs::completion_catalogue();
  std::vector<lsp::CompletionItem> items;
  items.reserve(catalogue.size());
  for (const auto& entry : catalogue) items.push_back({std::string(entry.label), std::string(entry.detail)});
  co_return items;
}

}  // namespace tarnu::server
