// Opening a 32 MiB document through a whole connection, then one hover at its end: the time, and the
// process's peak resident memory, which tells how many copies of the text the server holds at once.
// A program of its own, so that the peak is this session's and no other benchmark's.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include "workload.h"

namespace {

using namespace tarnu;

double peak_rss_mib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // Linux reports KiB
}

void BM_Open32MiB(benchmark::State& state) {
  const std::size_t size = 32u << 20;
  const std::string uri = "file:///home/dev/escrow/src/generated.simf";
  const std::string prefix =
      R"({"jsonrpc":"2.0","method":"textDocument/didOpen","params":{"textDocument":{"languageId":"simplicity","text":")";
  const std::string suffix = R"(","uri":")" + uri + R"(","version":1}}})";

  // The text goes straight into the frame, already escaped, so that building the input never holds more
  // than the input itself; a first pass only learns its length for the header.
  const std::size_t text_size = bench::generated_document(size, "\\n").size();
  std::string work =
      "Content-Length: " + std::to_string(prefix.size() + text_size + suffix.size()) + "\r\n\r\n" + prefix;
  const std::size_t text_begin = work.size();
  bench::append_generated_document(work, size, "\\n");
  auto at = bench::positions_in(std::string_view(work).substr(text_begin, text_size), "\\n");
  work += suffix;
  work += bench::request(1, "textDocument/hover", bench::hover_params(uri, at.end_line, at.end_character));
  const auto steps = bench::editor_session(std::move(work), 1);

  // Taken once: the peak never comes down, so a repetition would otherwise start from the last one's.
  static const double rss_before = peak_rss_mib();
  bench::SessionOutput output;
  for (auto _ : state) output = bench::run_session(steps);
  const double rss_peak = peak_rss_mib();

  // initialize, the hover and shutdown answered; the greeting and the open logged
  if (output.replies != 3 || output.errors != 0 || output.notifications != 2) state.SkipWithError("unexpected output");
  const double text_mib = static_cast<double>(text_size) / (1 << 20);
  state.counters["text_MiB"] = text_mib;
  state.counters["rss_before_MiB"] = rss_before;  // the program and its input
  state.counters["peak_rss_MiB"] = rss_peak;
  state.counters["peak_extra_texts"] = (rss_peak - rss_before) / text_mib;
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bench::input_size(steps)));
}
BENCHMARK(BM_Open32MiB)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
