// Every document URI that arrives is parsed and normalised: on each open, change and hover.
#include <benchmark/benchmark.h>

#include "support/url.h"

namespace {

void BM_NormalizeUrl(benchmark::State& state, const char* uri) {
  std::size_t size = 0;
  for (auto _ : state) {
    auto href = tarnu::support::normalize_url(uri);
    size = href ? href->size() : 0;
    benchmark::DoNotOptimize(href);
  }
  if (size == 0) state.SkipWithError("rejected");
}

BENCHMARK_CAPTURE(BM_NormalizeUrl, plain, "file:///home/dev/escrow/src/escrow.simf");
BENCHMARK_CAPTURE(BM_NormalizeUrl, deep, "file:///home/dev/work/contracts/bitcoin/vaults/2024/release/v2/timelock/escrow.simf");
BENCHMARK_CAPTURE(BM_NormalizeUrl, percent_encoded, "file:///home/dev/My%20Contracts/escrow%20(copy).simf");
BENCHMARK_CAPTURE(BM_NormalizeUrl, windows_drive, "file:///c%3A/Users/dev/contracts/escrow.simf");
BENCHMARK_CAPTURE(BM_NormalizeUrl, non_ascii, "file:///home/zoë/contrats/séquestre.simf");
BENCHMARK_CAPTURE(BM_NormalizeUrl, dot_segments, "file:///home/dev/escrow/src/../lib/./escrow.simf");
BENCHMARK_CAPTURE(BM_NormalizeUrl, with_host, "file://fileserver/share/contracts/escrow.simf");

}  // namespace
