// Cancellation through the session: a request waiting for a lock, and requests pending at exit.
#include <string>

#include <asio/bind_cancellation_slot.hpp>
#include <asio/co_spawn.hpp>
#include <asio/detached.hpp>
#include <asio/io_context.hpp>
#include <gtest/gtest.h>

#include "lsp/session.h"
#include "support/rw_lock.h"

namespace tarnu::lsp {
namespace {

using jsonrpc::json;

// Hover waits for a lock that the test holds; everything else answers at once.
class LockedServer final : public LanguageServer {
 public:
  support::RwLock lock;
  int hovers_finished = 0;

  asio::awaitable<InitializeResult> initialize(InitializeParams) override { co_return InitializeResult{}; }
  asio::awaitable<void> initialized(InitializedParams) override { co_return; }
  asio::awaitable<void> shutdown() override { co_return; }
  asio::awaitable<void> did_open(DidOpenTextDocumentParams) override { co_return; }
  asio::awaitable<void> did_change(DidChangeTextDocumentParams) override { co_return; }
  asio::awaitable<std::optional<Hover>> hover(HoverParams) override {
    auto guard = co_await lock.read();
    ++hovers_finished;
    co_return std::nullopt;
  }
  asio::awaitable<std::vector<CompletionItem>> completion(CompletionParams) override { co_return std::vector<CompletionItem>{}; }
};

jsonrpc::Call request(std::int64_t id, std::string method, json params) {
  return {std::move(method), std::move(params), jsonrpc::Id{id}};
}

json hover_params() {
  return {{"textDocument", {{"uri", "file:///a"}}}, {"position", {{"line", 0}, {"character", 0}}}};
}

class SessionTest : public ::testing::Test {
 protected:
  // Starts a work item the way the connection does; its reply lands in `replies`.
  void start(jsonrpc::WorkItem item) {
    auto done = [this, keep = item.cancel](std::exception_ptr e, std::optional<std::string> reply) {
      if (e) std::rethrow_exception(e);
      if (reply) replies.push_back(*reply);
    };
    if (item.cancel) {
      asio::co_spawn(loop, std::move(item.task), asio::bind_cancellation_slot(item.cancel->slot(), done));
    } else {
      asio::co_spawn(loop, std::move(item.task), done);
    }
  }
  void settle() {
    loop.restart();
    loop.poll();
  }
  void initialize() {
    start(session.dispatch(request(0, "initialize", {{"capabilities", json::object()}})));
    settle();
    ASSERT_EQ(session.state(), ConnectionState::Initialized);
    replies.clear();
  }

  asio::io_context loop{1};
  std::shared_ptr<jsonrpc::Outbound> outbound = std::make_shared<jsonrpc::Outbound>(loop.get_executor());
  LockedServer server;
  Session session{server, ClientHandle(outbound)};
  std::vector<std::string> replies;
};

TEST_F(SessionTest, CancelReachesARequestWaitingForALock) {
  initialize();
  std::optional<support::RwLock::Guard> writer;
  asio::co_spawn(loop, [&]() -> asio::awaitable<void> { writer.emplace(co_await server.lock.write()); },
                 asio::detached);
  settle();
  start(session.dispatch(request(5, "textDocument/hover", hover_params())));
  settle();
  EXPECT_TRUE(replies.empty());  // waiting behind the writer

  start(session.dispatch({"$/cancelRequest", json{{"id", 5}}, std::nullopt}));
  settle();
  EXPECT_EQ(replies, (std::vector<std::string>{R"({"jsonrpc":"2.0","error":{"code":-32800,"message":"Canceled"},"id":5})"}));
  EXPECT_EQ(server.hovers_finished, 0);

  // The cancelled waiter left the line: the next reader gets the lock once the writer is done.
  writer.reset();
  start(session.dispatch(request(5, "textDocument/hover", hover_params())));  // the id is free again
  settle();
  EXPECT_EQ(replies.back(), R"({"jsonrpc":"2.0","result":null,"id":5})");
}

TEST_F(SessionTest, ExitCancelsEveryPendingRequest) {
  initialize();
  std::optional<support::RwLock::Guard> writer;
  asio::co_spawn(loop, [&]() -> asio::awaitable<void> { writer.emplace(co_await server.lock.write()); },
                 asio::detached);
  settle();
  start(session.dispatch(request(1, "textDocument/hover", hover_params())));
  start(session.dispatch(request(2, "textDocument/hover", hover_params())));
  settle();
  start(session.dispatch({"exit", std::nullopt, std::nullopt}));
  settle();
  EXPECT_EQ(session.state(), ConnectionState::Exited);
  EXPECT_FALSE(session.accepts_messages());
  ASSERT_EQ(replies.size(), 2u);
  for (const auto& reply : replies) EXPECT_NE(reply.find("-32800"), std::string::npos) << reply;
}

TEST_F(SessionTest, InitializeSucceedsOnlyWhenItsReplyCarriesAResult) {
  start(session.dispatch(request(1, "initialize", json::array())));
  settle();
  EXPECT_EQ(session.state(), ConnectionState::Uninitialized);
  EXPECT_NE(replies.back().find("-32602"), std::string::npos);
  start(session.dispatch(request(2, "initialize", {{"capabilities", json::object()}})));
  settle();
  EXPECT_EQ(session.state(), ConnectionState::Initialized);
}

}  // namespace
}  // namespace tarnu::lsp
