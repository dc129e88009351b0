// What the benchmarks feed the server: framed messages, a typical contract, large generated documents,
// and a whole connection run in memory.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <asio/co_spawn.hpp>
#include <asio/io_context.hpp>
#include <nlohmann/json.hpp>

#include "server/server.h"
#include "support/signal.h"

namespace tarnu::bench {

using nlohmann::json;

inline std::string frame(std::string_view body) {
  return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + std::string(body);
}

inline std::string request(int id, std::string_view method, const json& params) {
  return frame(json{{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}}.dump());
}

inline std::string notification(std::string_view method, const json& params) {
  return frame(json{{"jsonrpc", "2.0"}, {"method", method}, {"params", params}}.dump());
}

inline json hover_params(std::string_view uri, int line, int character) {
  return {{"textDocument", {{"uri", uri}}}, {"position", {{"line", line}, {"character", character}}}};
}

inline json open_params(std::string_view uri, std::string_view text) {
  return {{"textDocument", {{"uri", uri}, {"languageId", "simplicity"}, {"version", 1}, {"text", text}}}};
}

// The initialize request as editors send it, with a realistic (ignored) capabilities object.
inline std::string initialize_request() {
  json capabilities = {{"textDocument", {{"hover", {{"contentFormat", {"markdown", "plaintext"}}}},
                                         {"completion", {{"completionItem", {{"snippetSupport", true}}}}}}},
                       {"general", {{"positionEncodings", {"utf-16"}}}}};
  return request(0, "initialize",
                 {{"processId", 4242}, {"rootUri", "file:///home/dev/escrow"}, {"capabilities", capabilities}});
}

// A part of the input, and the number of replies the editor waits for before sending it.
struct Step {
  std::string input;
  std::size_t after_replies = 0;
};

// An editor's session around `work`, which holds `requests` requests: initialize alone; once it is answered,
// initialized, the work and shutdown; once all of these are answered, exit. An editor that sent everything
// at once would see its requests refused before initialize had finished, and cancelled by exit.
inline std::vector<Step> editor_session(std::string work, std::size_t requests) {
  // In place, and no initializer list, which would copy: `work` may hold a text of many MiB.
  work.insert(0, notification("initialized", json::object()));
  work += frame(R"({"jsonrpc":"2.0","id":1000000000,"method":"shutdown"})");
  std::vector<Step> steps;
  steps.push_back({initialize_request(), 0});
  steps.push_back({std::move(work), 1});
  steps.push_back({frame(R"({"jsonrpc":"2.0","method":"exit"})"), requests + 2});
  return steps;
}

inline std::size_t input_size(const std::vector<Step>& steps) {
  std::size_t size = 0;
  for (const auto& step : steps) size += step.input.size();
  return size;
}

// A contract of the size editors usually hold open.
inline constexpr std::string_view typical_contract = R"(/// Escrow with a timeout: the buyer and the seller together, or the arbiter after the lock height.
mod witness {
    const BUYER_SIGNATURE: Signature = 0x4bc79eb1989836a93b373a90876b85a4c10fb9ba909881d6f3ad1d142fffa35f;
    const COMPLETE_OR_CANCEL: Either<Signature, Signature> = Left(0x1234);
}

mod param {
    const BUYER_KEY: Pubkey = 0x0071e7057f26278640576a371e29d143c703cc96d9f72f39ea97c2423eb6a714;
    const ARBITER_KEY: Pubkey = 0x79be667ef9dcbbac55a06295ce870b07029bfcdb2dce28d959f2815b16f81798;
    const TIMEOUT: Height = 1000;
}

/// The signature hash of the spending transaction must be signed by `key`.
fn checksig(key: Pubkey, sig: Signature) {
    let msg: u256 = jet::sig_all_hash();
    jet::bip_0340_verify((key, msg), sig);
}

/// Hashes a preimage with one round of SHA-256.
fn sha2(preimage: u256) -> u256 {
    let ctx: Ctx8 = jet::sha_256_ctx_8_init();
    let ctx: Ctx8 = jet::sha_256_ctx_8_add_32(ctx, preimage);
    jet::sha_256_ctx_8_finalize(ctx)
}

fn complete(sig: Signature) {
    checksig(param::BUYER_KEY, sig);
}

fn cancel(sig: Signature) {
    jet::check_lock_height(param::TIMEOUT);
    checksig(param::ARBITER_KEY, sig);
}

fn main() {
    match witness::COMPLETE_OR_CANCEL {
        Left(sig: Signature) => complete(sig),
        Right(sig: Signature) => cancel(sig),
    }
    let total: u256 = jet::add_256(0x01, sha2(0x02));
    assert!(jet::eq_256(total, total));
}
)";

// Hover positions in typical_contract, as an editor user moves the mouse: a jet, a type, a user function, a
// module constant, a keyword, a variant, a hexadecimal prefix, a macro, a local name, another function.
inline constexpr int typical_positions[][2] = {{14, 22}, {14, 14}, {26, 6}, {26, 23}, {35, 5},
                                               {36, 9},  {39, 36}, {40, 6}, {39, 9},  {39, 42}};

// Appends a generated document of at least `size` bytes to `out`: blocks of a documented function and a
// constant, then "settle_late", defined near the end, and a "main" that calls it on the last lines. Lines end
// with `newline`, so that "\\n" yields the text already escaped for a JSON string (it holds no other
// character that needs escaping).
inline void append_generated_document(std::string& out, std::size_t size, std::string_view newline = "\n") {
  const std::size_t start = out.size();
  out.reserve(start + size + 4096);  // room for the last block and what a caller appends
  auto line = [&](std::string_view content) {
    out += content;
    out += newline;
  };
  for (int i = 0; out.size() - start < size; ++i) {
    auto n = std::to_string(i);
    line("/// Checks signature number " + n + " against the stored key.");
    line("/// Fails the program otherwise.");
    line("fn check_" + n + "(sig: Signature, key: Pubkey) -> u256 {");
    line("    let msg: u256 = jet::sig_all_hash();");
    line("    jet::bip_0340_verify((key, msg), sig);");
    line("    let total: u256 = jet::add_256(param::BASE_" + n + ", 0x" + n + "ff);");
    line("    total");
    line("}");
    line("");
    line("const LIMIT_" + n + ": u32 = " + n + ";");
    line("");
  }
  line("/// Pays out what is left once everything else has been checked.");
  line("fn settle_late(amount: u256) -> u256 {");
  line("    jet::subtract_256(amount, 0x01)");
  line("}");
  line("");
  line("fn main() {");
  line("    let rest: u256 = settle_late(witness::AMOUNT);");
  line("}");
}

inline std::string generated_document(std::size_t size, std::string_view newline = "\n") {
  std::string text;
  append_generated_document(text, size, newline);
  return text;
}

// Where append_generated_document puts things: "check_0" on line 2, "u256" on a line of the block in the middle,
// "settle_late" on the second-to-last line.
struct GeneratedPositions {
  int top_line = 2, top_character = 4;
  int middle_line, middle_character = 13;
  int end_line, end_character = 24;
};

inline GeneratedPositions positions_in(std::string_view document, std::string_view newline = "\n") {
  int lines = 0;
  for (auto at = document.find(newline); at != std::string_view::npos; at = document.find(newline, at + 1)) ++lines;
  int blocks = (lines - 8) / 11;
  return {.middle_line = blocks / 2 * 11 + 3, .end_line = lines - 2};
}

struct SessionOutput {
  std::size_t bytes = 0;
  std::size_t replies = 0;  // results and errors
  std::size_t errors = 0;
  std::size_t notifications = 0;
};

// Counts what the server writes, frame by frame, and keeps nothing else: a benchmark that got error
// replies measured the wrong thing.
class CountingSink final : public jsonrpc::ByteSink {
 public:
  explicit CountingSink(const asio::any_io_executor& executor) : written(executor) {}

  asio::awaitable<void> write_all(std::span<const char> bytes) override {
    output.bytes += bytes.size();
    pending_.append(bytes.data(), bytes.size());
    std::size_t at = 0;
    for (;;) {
      auto end = pending_.find("\r\n\r\n", at);
      if (end == std::string::npos) break;
      auto length = std::stoull(pending_.substr(at + 16, end - at - 16));  // after "Content-Length: "
      if (pending_.size() < end + 4 + length) break;
      std::string_view body(pending_.data() + end + 4, length);
      if (body.starts_with(R"({"jsonrpc":"2.0","method")")) {
        ++output.notifications;
      } else {
        ++output.replies;
        if (body.starts_with(R"({"jsonrpc":"2.0","error")")) ++output.errors;
      }
      at = end + 4 + length;
    }
    pending_.erase(0, at);
    written.notify();
    co_return;
  }

  SessionOutput output;
  support::Signal written;

 private:
  std::string pending_;
};

// Hands over each step once its replies have been written, in reads as large as the reader asks for.
class PacedSource final : public jsonrpc::ByteSource {
 public:
  PacedSource(const std::vector<Step>& steps, CountingSink& sink) : steps_(steps), sink_(sink) {}

  asio::awaitable<std::size_t> read_some(std::span<char> buffer) override {
    if (rest_.empty()) {
      if (next_ == steps_.size()) co_return 0;
      while (sink_.output.replies < steps_[next_].after_replies) co_await sink_.written.wait();
      rest_ = steps_[next_++].input;
    }
    std::size_t count = std::min(buffer.size(), rest_.size());
    std::copy_n(rest_.data(), count, buffer.data());
    rest_.remove_prefix(count);
    co_return count;
  }

 private:
  const std::vector<Step>& steps_;
  CountingSink& sink_;
  std::size_t next_ = 0;
  std::string_view rest_;
};

// One whole connection, on a single-threaded loop as the server runs it.
inline SessionOutput run_session(const std::vector<Step>& steps) {
  asio::io_context loop(1);
  CountingSink sink(loop.get_executor());
  PacedSource source(steps, sink);
  std::exception_ptr fault;
  bool finished = false;
  asio::co_spawn(loop, server::serve_connection(source, sink), [&](std::exception_ptr e) {
    fault = e;
    finished = true;
  });
  // A reply that never comes would keep the source waiting for good.
  loop.run_for(std::chrono::minutes(2));
  if (fault) std::rethrow_exception(fault);
  if (!finished) throw std::runtime_error("the connection did not end");
  return sink.output;
}

}  // namespace tarnu::bench
