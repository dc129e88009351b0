// A whole connection: a valid initialize, and once it is answered, arbitrary bytes. Whatever they hold, the
// connection ends when they do, nothing crashes or escapes as an exception, and everything written is a
// sequence of whole frames, each holding one JSON-RPC 2.0 message object.
//
// Input: the first byte, then the bytes that follow initialize. If the first byte is odd, every line of the
// rest is a message body that the harness frames, so that the fuzzer reaches the methods without having to
// count bytes; otherwise the rest goes in as it is. Its next three bits set how many turns the loop gets
// between two reads, so that the fuzzer also chooses how the reader and the work interleave.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include <asio/co_spawn.hpp>
#include <asio/io_context.hpp>
#include <asio/post.hpp>
#include <asio/use_awaitable.hpp>
#include <nlohmann/json.hpp>

#include "server/server.h"
#include "support/signal.h"

namespace {

using namespace tarnu;

[[noreturn]] void fail(const char* what, std::string_view detail = {}) {
  std::fprintf(stderr, "session_fuzz: %s %.*s\n", what, static_cast<int>(std::min<std::size_t>(detail.size(), 500)),
               detail.data());
  std::abort();
}

std::string frame(std::string_view body) {
  return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + std::string(body);
}

// Checks each frame as it completes.
class CheckingSink final : public jsonrpc::ByteSink {
 public:
  explicit CheckingSink(const asio::any_io_executor& executor) : written(executor) {}

  asio::awaitable<void> write_all(std::span<const char> bytes) override {
    pending_.append(bytes.data(), bytes.size());
    for (;;) {
      constexpr std::string_view prefix = "Content-Length: ";
      if (pending_.size() < prefix.size()) break;
      if (!pending_.starts_with(prefix)) fail("a frame that does not begin with Content-Length:", pending_);
      auto end = pending_.find("\r\n\r\n");
      if (end == std::string::npos) break;
      auto digits = std::string_view(pending_).substr(prefix.size(), end - prefix.size());
      if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos)
        fail("a frame header other than Content-Length", pending_);
      auto length = std::stoull(std::string(digits));
      if (pending_.size() < end + 4 + length) break;
      auto body = std::string_view(pending_).substr(end + 4, length);
      auto message = nlohmann::json::parse(body, nullptr, false);
      if (!message.is_object() || message.value("jsonrpc", "") != "2.0") fail("a body that is no JSON-RPC message", body);
      if (!message.contains("id")) ++notifications;
      else ++replies;
      pending_.erase(0, end + 4 + length);
    }
    written.notify();
    co_return;
  }

  void finish() const {
    if (!pending_.empty()) fail("output ends inside a frame", pending_);
  }

  std::size_t replies = 0;
  std::size_t notifications = 0;
  support::Signal written;

 private:
  std::string pending_;
};

// The initialize request, then, once it has been answered as an editor would wait for, the pieces of the
// rest, one per read, with `pause` turns of the loop before each so that work in progress moves on as it
// would while the editor is typing.
class EditorSource final : public jsonrpc::ByteSource {
 public:
  EditorSource(std::vector<std::string> pieces, int pause, CheckingSink& sink)
      : pieces_(std::move(pieces)), pause_(pause), sink_(sink) {}

  asio::awaitable<std::size_t> read_some(std::span<char> buffer) override {
    if (unread_.empty()) {
      if (next_ == pieces_.size()) co_return 0;
      if (next_ == 1) {
        while (sink_.replies == 0) co_await sink_.written.wait();
      }
      for (int turn = 0; turn < pause_; ++turn) co_await asio::post(asio::use_awaitable);
      unread_ = pieces_[next_++];
    }
    auto count = std::min(buffer.size(), unread_.size());
    std::copy_n(unread_.data(), count, buffer.data());
    unread_.remove_prefix(count);
    co_return count;
  }

 private:
  std::vector<std::string> pieces_;
  int pause_;
  CheckingSink& sink_;
  std::size_t next_ = 0;
  std::string_view unread_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);

  std::vector<std::string> pieces{frame(R"({"jsonrpc":"2.0","id":0,"method":"initialize","params":{"capabilities":{}}})")};
  if (data[0] & 1) {
    // one body per line, each framed and read on its own
    while (!rest.empty()) {
      auto feed = rest.find('\n');
      pieces.push_back(frame(rest.substr(0, feed)));
      rest.remove_prefix(feed == std::string_view::npos ? rest.size() : feed + 1);
    }
  } else if (!rest.empty()) {
    pieces.emplace_back(rest);
  }

  asio::io_context loop(1);
  CheckingSink sink(loop.get_executor());
  EditorSource source(std::move(pieces), (data[0] >> 1) % 8, sink);
  std::exception_ptr fault;
  bool finished = false;
  asio::co_spawn(loop, server::serve_connection(source, sink), [&](std::exception_ptr e) {
    fault = e;
    finished = true;
  });
  loop.run_for(std::chrono::seconds(10));

  if (fault) {
    try {
      std::rethrow_exception(fault);
    } catch (const std::exception& e) {
      fail("the connection ended with an exception:", e.what());
    } catch (...) {
      fail("the connection ended with an exception");
    }
  }
  if (!finished) fail("the connection did not end at the end of its input");
  if (sink.replies == 0) fail("initialize was not answered");
  sink.finish();
  return 0;
}
