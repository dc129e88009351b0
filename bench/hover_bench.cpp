// One hover on a 1 MiB document. Nothing is indexed, so each hover scans the text: the place of the cursor
// and of the definition decide how far.
#include <benchmark/benchmark.h>

#include "hover/hover.h"
#include "workload.h"

namespace {

using namespace tarnu;

const std::string& document() {
  static const std::string text = bench::generated_document(1 << 20);
  return text;
}

void hover_at(benchmark::State& state, int line, int character) {
  const std::string& text = document();
  std::size_t page_bytes = 0;
  for (auto _ : state) {
    auto page = hover::hover_page(text, static_cast<std::uint32_t>(line), static_cast<std::uint32_t>(character));
    page_bytes = page ? page->size() : 0;
    benchmark::DoNotOptimize(page);
  }
  if (page_bytes == 0) state.SkipWithError("no page at that position");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

// The name of the first function, defined right there: the search stops at once.
void BM_HoverTop(benchmark::State& state) {
  auto at = bench::positions_in(document());
  hover_at(state, at.top_line, at.top_character);
}
BENCHMARK(BM_HoverTop);

// A type in the middle: no definition has its name, so both searches read the whole text before the
// reference page is found.
void BM_HoverMiddle(benchmark::State& state) {
  auto at = bench::positions_in(document());
  hover_at(state, at.middle_line, at.middle_character);
}
BENCHMARK(BM_HoverMiddle)->Unit(benchmark::kMicrosecond);

// A call on the last lines of a function defined near the end: finding the line and then the definition
// each read nearly the whole text.
void BM_HoverEnd(benchmark::State& state) {
  auto at = bench::positions_in(document());
  hover_at(state, at.end_line, at.end_character);
}
BENCHMARK(BM_HoverEnd)->Unit(benchmark::kMicrosecond);

}  // namespace
