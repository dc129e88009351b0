// What happens to each message of one connection: the lifecycle rules, the method table, the pending
// requests and their cancellation. The transport hands it decoded messages; it hands back work items.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <unordered_map>

#include <asio/cancellation_signal.hpp>

#include "jsonrpc/connection.h"
#include "lsp/client_handle.h"
#include "lsp/language_server.h"
#include "lsp/methods.h"

namespace tarnu::lsp {

enum class ConnectionState : std::uint8_t { Uninitialized, Initialized, ShutDown, Exited };

class Session final : public jsonrpc::MessageHandler {
 public:
  Session(LanguageServer& server, ClientHandle client) : server_(server), client_(std::move(client)) {}

  bool accepts_messages() const override { return state_ != ConnectionState::Exited; }
  void on_response(jsonrpc::Response response) override { client_.on_response(std::move(response)); }
  jsonrpc::WorkItem dispatch(jsonrpc::Call call) override;

  ConnectionState state() const { return state_; }

 private:
  // A request between its dispatch and its reply.
  struct Pending {
    asio::cancellation_signal signal;
    bool cancelled = false;
  };
  using PendingPtr = std::shared_ptr<Pending>;

  jsonrpc::WorkItem dispatch_known(const Method& method, jsonrpc::Call& call);
  std::optional<jsonrpc::Error> lifecycle_refusal(const Method& method);
  void exit();
  void cancel(const jsonrpc::Id& id);

  jsonrpc::WorkItem reply(std::optional<jsonrpc::Id> id, PendingPtr pending, asio::awaitable<Outcome> work,
                          bool records_initialize);
  asio::awaitable<std::optional<std::string>> respond(jsonrpc::Id id, PendingPtr pending,
                                                      asio::awaitable<Outcome> work, bool records_initialize);
  asio::awaitable<std::optional<std::string>> perform(asio::awaitable<Outcome> work, bool records_initialize);

  LanguageServer& server_;
  ClientHandle client_;
  std::atomic<ConnectionState> state_ = ConnectionState::Uninitialized;
  // Touched only on the connection's thread: by dispatch in the reader, and by work items as they reply.
  std::unordered_map<jsonrpc::Id, PendingPtr, jsonrpc::IdHash> pending_;
};

}  // namespace tarnu::lsp
