// The reader's share of every message: cutting frames out of the input and decoding their bodies.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "jsonrpc/framing.h"
#include "jsonrpc/message.h"
#include "workload.h"

namespace {

using namespace tarnu;

constexpr int kMessages = 1000;

// What an editor sends while someone edits and reads: mostly hovers, some completions, a full-text
// change now and then, and the cancellations of hovers that the mouse has left.
std::string typical_stream() {
  std::string input;
  const std::string uri = "file:///home/dev/escrow/src/escrow.simf";
  for (int i = 0; i < kMessages; ++i) {
    const auto& position = bench::typical_positions[i % std::size(bench::typical_positions)];
    switch (i % 10) {
      case 7: input += bench::request(i, "textDocument/completion", bench::hover_params(uri, 20, 8)); break;
      case 8:
        input += bench::notification(
            "textDocument/didChange",
            {{"textDocument", {{"uri", uri}, {"version", i}}},
             {"contentChanges", {{{"text", bench::typical_contract}}}}});
        break;
      case 9: input += bench::notification("$/cancelRequest", {{"id", i - 1}}); break;
      default: input += bench::request(i, "textDocument/hover", bench::hover_params(uri, position[0], position[1]));
    }
  }
  return input;
}

// Feeds `input` to a FrameReader in the reads it asks for and hands each body to `on_body`.
template <class OnBody>
int read_all(std::string_view input, OnBody on_body) {
  jsonrpc::FrameReader frames;
  int bodies = 0;
  for (;;) {
    std::string_view body;
    auto status = frames.next(body);
    if (status == jsonrpc::FrameReader::Status::body) {
      on_body(body);
      ++bodies;
    } else if (status == jsonrpc::FrameReader::Status::malformed || input.empty()) {
      return bodies;
    } else {
      auto room = frames.prepare();
      auto count = std::min(room.size(), input.size());
      std::copy_n(input.data(), count, room.data());
      input.remove_prefix(count);
      frames.commit(count);
    }
  }
}

void report(benchmark::State& state, std::size_t bytes, int bodies) {
  if (bodies != kMessages) state.SkipWithError("not every message was framed");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  state.SetItemsProcessed(state.iterations() * kMessages);
}

void BM_Frame(benchmark::State& state) {
  const std::string input = typical_stream();
  int bodies = 0;
  for (auto _ : state) {
    bodies = read_all(input, [](std::string_view body) { benchmark::DoNotOptimize(body.data()); });
  }
  report(state, input.size(), bodies);
}
BENCHMARK(BM_Frame);

void BM_FrameAndDecode(benchmark::State& state) {
  const std::string input = typical_stream();
  int bodies = 0;
  int calls = 0;
  for (auto _ : state) {
    calls = 0;
    bodies = read_all(input, [&](std::string_view body) {
      auto decoded = jsonrpc::decode_message(body);
      calls += std::holds_alternative<jsonrpc::Call>(decoded);
      benchmark::DoNotOptimize(decoded);
    });
  }
  if (calls != kMessages) state.SkipWithError("not every message decoded to a call");
  report(state, input.size(), bodies);
}
BENCHMARK(BM_FrameAndDecode);

}  // namespace
