// A whole connection in memory: the handshake, an open contract, then hover after hover as fast as the
// server answers, and shutdown. What an editor sees as the server's request rate.
#include <benchmark/benchmark.h>

#include "workload.h"

namespace {

using namespace tarnu;

void BM_HoverSession(benchmark::State& state) {
  const auto hovers = static_cast<std::size_t>(state.range(0));
  const std::string uri = "file:///home/dev/escrow/src/escrow.simf";
  std::string work = bench::notification("textDocument/didOpen", bench::open_params(uri, bench::typical_contract));
  for (std::size_t i = 1; i <= hovers; ++i) {
    const auto& position = bench::typical_positions[i % std::size(bench::typical_positions)];
    work += bench::request(static_cast<int>(i), "textDocument/hover", bench::hover_params(uri, position[0], position[1]));
  }
  const auto steps = bench::editor_session(std::move(work), hovers);

  bench::SessionOutput output;
  for (auto _ : state) output = bench::run_session(steps);

  // initialize, every hover and shutdown answered, none with an error; the greeting and the open logged
  if (output.replies != hovers + 2 || output.errors != 0 || output.notifications != 2)
    state.SkipWithError("unexpected output");
  state.counters["requests/s"] =
      benchmark::Counter(static_cast<double>(hovers), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["out_MiB"] = static_cast<double>(output.bytes) / (1 << 20);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bench::input_size(steps)));
}
BENCHMARK(BM_HoverSession)->Arg(10'000)->Unit(benchmark::kMillisecond);

}  // namespace
