// The completion reply: the whole catalogue as items, as JSON, as the text of the reply.
#include <benchmark/benchmark.h>

#include "docs/completion_catalogue.h"
#include "jsonrpc/message.h"
#include "lsp/results.h"

namespace {

using namespace tarnu;

void BM_CompletionReply(benchmark::State& state) {
  std::size_t size = 0;
  for (auto _ : state) {
    auto catalogue = docs::completion_catalogue();
    std::vector<lsp::CompletionItem> items;
    items.reserve(catalogue.size());
    for (const auto& entry : catalogue)
      items.push_back({std::string(entry.label), std::string(entry.detail)});
    auto reply = jsonrpc::encode_result(jsonrpc::Id{std::int64_t{42}}, lsp::to_json(std::move(items)));
    size = reply.size();
    benchmark::DoNotOptimize(reply);
  }
  if (docs::completion_catalogue().size() != 73) state.SkipWithError("the catalogue is not complete");
  state.counters["reply_bytes"] = static_cast<double>(size);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}
BENCHMARK(BM_CompletionReply);

}  // namespace
