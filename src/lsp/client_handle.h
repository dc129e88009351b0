// The server's way to talk to the editor outside of replies: log messages through the connection's
// bounded notification queue.
#pragma once

#include <memory>
#include <string>

#include <asio/awaitable.hpp>

#include "lsp/types.h"

namespace tarnu::jsonrpc {
class Outbound;
struct Response;
}  // namespace tarnu::jsonrpc

namespace tarnu::lsp {

class ClientHandle {
 public:
  explicit ClientHandle(std::shared_ptr<jsonrpc::Outbound> outbound) : outbound_(std::move(outbound)) {}

  // Queues a window/logMessage notification, waiting while the queue is full. Never fails: once the
  // connection no longer sends notifications, the message is dropped at once.
  asio::awaitable<void> send_log(MessageType type, std::string message) const;

  // Responses from the editor go here; the server sends no requests, so none is awaited.
  void on_response(jsonrpc::Response response) const;

  // After exit: drops what is queued and everything sent later.
  void close() const;

 private:
  std::shared_ptr<jsonrpc::Outbound> outbound_;
};

}  // namespace tarnu::lsp
