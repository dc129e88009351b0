// A whole connection driven over real pipes and in memory, with a handler that knows no protocol methods.
#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

#include <asio/co_spawn.hpp>
#include <asio/io_context.hpp>
#include <gtest/gtest.h>

#include "jsonrpc/connection.h"

namespace tarnu::jsonrpc {
namespace {

std::string frame(const std::string& body) {
  return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

std::string call(int id, const std::string& method) {
  return frame(R"({"jsonrpc":"2.0","id":)" + std::to_string(id) + R"(,"method":")" + method + R"("})");
}

// Replies to every request with its method name; "hold" requests wait until released, counting how many
// work items are in progress at once.
class EchoHandler final : public MessageHandler {
 public:
  explicit EchoHandler(const asio::any_io_executor& executor) : gate(executor) {}

  bool accepts_messages() const override { return true; }
  void on_response(Response) override {}
  WorkItem dispatch(Call call) override { return {work(std::move(call)), nullptr}; }

  support::Signal gate;
  int running = 0;
  int most_running = 0;
  int held = 0;

 private:
  asio::awaitable<std::optional<std::string>> work(Call call) {
    ++running;
    most_running = std::max(most_running, running);
    if (call.method == "hold") {
      ++held;
      co_await gate.wait();
    }
    --running;
    if (!call.id) co_return std::nullopt;
    co_return encode_result(*call.id, json(call.method));
  }
};

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::string bytes) : bytes_(std::move(bytes)) {}
  asio::awaitable<std::size_t> read_some(std::span<char> buffer) override {
    std::size_t count = std::min(buffer.size(), bytes_.size() - offset_);
    std::copy_n(bytes_.data() + offset_, count, buffer.data());
    offset_ += count;
    co_return count;
  }

 private:
  std::string bytes_;
  std::size_t offset_ = 0;
};

class MemorySink final : public ByteSink {
 public:
  asio::awaitable<void> write_all(std::span<const char> bytes) override {
    text.append(bytes.data(), bytes.size());
    ++writes;
    co_return;
  }
  std::string text;
  int writes = 0;
};

// Runs a connection with the echo handler between two file descriptors, as the server runs on stdin and
// stdout; true when it ended without a fault.
bool run_over_descriptors(int input, int output) {
  asio::io_context loop(1);
  support::BlockingPool pool(4);
  FdSource source(input, pool);
  FdSink sink(output, pool);
  EchoHandler handler(loop.get_executor());
  Outbound outbound(loop.get_executor());
  bool ended_cleanly = false;
  asio::co_spawn(loop, run_connection(source, sink, handler, outbound),
                 [&](std::exception_ptr fault) { ended_cleanly = !fault; });
  loop.run();
  return ended_cleanly;
}

std::string echo_calls(int count) {
  std::string input;
  for (int i = 1; i <= count; ++i) input += call(i, "echo");
  return input;
}

TEST(Connection, RepliesOverPipesAndEndsAtEndOfInput) {
  int in[2], out[2];
  ASSERT_EQ(pipe(in), 0);
  ASSERT_EQ(pipe(out), 0);
  std::string input = echo_calls(50);
  std::thread editor([&] {
    ASSERT_EQ(write(in[1], input.data(), input.size()), static_cast<ssize_t>(input.size()));
    close(in[1]);
  });
  EXPECT_TRUE(run_over_descriptors(in[0], out[1]));
  editor.join();
  close(out[1]);

  std::string output;
  char buffer[4096];
  for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) output.append(buffer, static_cast<std::size_t>(n));
  std::string expected;
  for (int i = 1; i <= 50; ++i) expected += frame(R"({"jsonrpc":"2.0","result":"echo","id":)" + std::to_string(i) + "}");
  EXPECT_EQ(output, expected);
  close(in[0]);
  close(out[0]);
}

TEST(Connection, AClosedOutputEndsTheConnectionQuietly) {
  int in[2], out[2];
  ASSERT_EQ(pipe(in), 0);
  ASSERT_EQ(pipe(out), 0);
  close(out[0]);  // the editor stopped reading; writes fail with EPIPE, and SIGPIPE must not kill us
  std::string input = echo_calls(20);
  ASSERT_EQ(write(in[1], input.data(), input.size()), static_cast<ssize_t>(input.size()));
  close(in[1]);
  EXPECT_TRUE(run_over_descriptors(in[0], out[1]));
  close(in[0]);
  close(out[1]);
}

TEST(Connection, KeepsAtMostFourInProgressAndRepliesInCompletionOrder) {
  asio::io_context loop(1);
  std::string input = call(1, "hold") + call(2, "hold");
  for (int i = 3; i <= 8; ++i) input += call(i, "echo");
  MemorySource source(input);
  MemorySink sink;
  EchoHandler handler(loop.get_executor());
  Outbound outbound(loop.get_executor());
  asio::co_spawn(loop, run_connection(source, sink, handler, outbound, {.in_progress = 4, .waiting = 100}),
                 [](std::exception_ptr e) {
                   if (e) std::rethrow_exception(e);
                 });
  loop.poll();  // everything runs that can run without the gate
  EXPECT_EQ(handler.held, 2);
  EXPECT_LE(handler.most_running, 4);
  // The echoes overtook the held requests, which are still waiting.
  EXPECT_NE(sink.text.find(R"("id":8})"), std::string::npos);
  EXPECT_EQ(sink.text.find(R"("id":1})"), std::string::npos);

  handler.gate.notify();
  loop.restart();
  loop.poll();
  handler.gate.notify();
  loop.restart();
  loop.run();
  EXPECT_NE(sink.text.find(R"("id":1})"), std::string::npos);
  EXPECT_NE(sink.text.find(R"("id":2})"), std::string::npos);
  EXPECT_LT(sink.text.find(R"("id":8})"), sink.text.find(R"("id":1})"));
}

TEST(Connection, ReadyRepliesShareWrites) {
  asio::io_context loop(1);
  std::string input;
  for (int i = 1; i <= 200; ++i) input += call(i, "echo");
  MemorySource source(input);
  MemorySink sink;
  EchoHandler handler(loop.get_executor());
  Outbound outbound(loop.get_executor());
  asio::co_spawn(loop, run_connection(source, sink, handler, outbound), [](std::exception_ptr e) {
    if (e) std::rethrow_exception(e);
  });
  loop.run();
  EXPECT_EQ(std::count(sink.text.begin(), sink.text.end(), '{'), 200);
  EXPECT_LT(sink.writes, 20);  // 200 replies of ~60 bytes: a handful of 8 KiB batches, not one write each
}

TEST(Connection, NotificationsGoOutBetweenReplies) {
  asio::io_context loop(1);
  MemorySource source(call(1, "echo") + call(2, "echo"));
  MemorySink sink;
  EchoHandler handler(loop.get_executor());
  Outbound outbound(loop.get_executor());
  asio::co_spawn(loop, outbound.notify(encode_notification("n", json::object())), [](std::exception_ptr, bool) {});
  asio::co_spawn(loop, run_connection(source, sink, handler, outbound), [](std::exception_ptr e) {
    if (e) std::rethrow_exception(e);
  });
  loop.run();
  EXPECT_NE(sink.text.find(R"("method":"n")"), std::string::npos);
  EXPECT_EQ(std::count(sink.text.begin(), sink.text.end(), 'C'), 3);  // three frames
}

}  // namespace
}  // namespace tarnu::jsonrpc
