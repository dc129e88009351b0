#include "transcript.h"

#include <sstream>
#include <stdexcept>

#include <asio/co_spawn.hpp>
#include <asio/io_context.hpp>
#include <asio/this_coro.hpp>

#include "server/server.h"
#include "support/signal.h"

namespace tarnu::testing {
namespace {

struct Step {
  std::string input;            // bytes delivered in one read
  std::size_t outputs_before;   // messages that must have been written before that read
};

std::string unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    char c = text[++i];
    switch (c) {
      case 'r': out += '\r'; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case 'x':
        out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
        i += 2;
        break;
      default: out += c;
    }
  }
  return out;
}

// Collects written frames and wakes the source when the count it waits for is reached.
class MemorySink final : public jsonrpc::ByteSink {
 public:
  explicit MemorySink(support::Signal& wakeup) : wakeup_(wakeup) {}

  asio::awaitable<void> write_all(std::span<const char> bytes) override {
    pending_.append(bytes.data(), bytes.size());
    for (;;) {
      auto end = pending_.find("\r\n\r\n");
      if (end == std::string::npos || !pending_.starts_with("Content-Length: ")) break;
      auto length = std::stoull(pending_.substr(16, end - 16));
      if (pending_.size() < end + 4 + length) break;
      bodies.push_back(pending_.substr(end + 4, length));
      pending_.erase(0, end + 4 + length);
    }
    wakeup_.notify();
    co_return;
  }

  std::vector<std::string> bodies;
  const std::string& pending() const { return pending_; }

 private:
  std::string pending_;
  support::Signal& wakeup_;
};

class PacedSource final : public jsonrpc::ByteSource {
 public:
  PacedSource(std::vector<Step> steps, MemorySink& sink, support::Signal& wakeup)
      : steps_(std::move(steps)), sink_(sink), wakeup_(wakeup) {}

  asio::awaitable<std::size_t> read_some(std::span<char> buffer) override {
    if (offset_ == 0) {
      if (next_ == steps_.size()) co_return 0;
      while (sink_.bodies.size() < steps_[next_].outputs_before) co_await wakeup_.wait();
    }
    const auto& input = steps_[next_].input;
    std::size_t count = std::min(buffer.size(), input.size() - offset_);
    std::copy_n(input.data() + offset_, count, buffer.data());
    offset_ += count;
    if (offset_ == input.size()) {
      offset_ = 0;
      ++next_;
    }
    co_return count;
  }

 private:
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  std::size_t offset_ = 0;
  MemorySink& sink_;
  support::Signal& wakeup_;
};

}  // namespace

std::string frame(const std::string& body) {
  return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

TranscriptResult run_transcript(const std::string& text) {
  TranscriptResult result;
  std::vector<Step> steps;
  bool last_was_input = false;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty() || line[0] == '#') continue;
    auto tag = line.substr(0, 4);
    auto content = line.size() > 4 ? line.substr(4) : std::string();
    if (tag == "--> " || tag == "==> ") {
      std::string bytes = tag == "--> " ? frame(content) : unescape(content);
      if (last_was_input) {
        steps.back().input += bytes;
      } else {
        steps.push_back({bytes, result.expected.size()});
      }
      last_was_input = true;
    } else if (tag == "<-- ") {
      result.expected.push_back(content);
      last_was_input = false;
    } else {
      throw std::invalid_argument("transcript line without a known tag: " + line);
    }
  }

  asio::io_context loop(1);
  support::Signal wakeup(loop.get_executor());
  MemorySink sink(wakeup);
  PacedSource source(std::move(steps), sink, wakeup);
  std::exception_ptr fault;
  bool finished = false;
  asio::co_spawn(loop, server::serve_connection(source, sink), [&](std::exception_ptr e) {
    fault = e;
    finished = true;
  });
  // A server that never writes what the transcript waits for would stall the input for good.
  loop.run_for(std::chrono::seconds(20));
  if (fault) std::rethrow_exception(fault);
  result.stalled = !finished;
  result.written = std::move(sink.bodies);
  result.trailing = sink.pending();
  return result;
}

}  // namespace tarnu::testing
