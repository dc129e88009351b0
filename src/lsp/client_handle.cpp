#include "lsp/client_handle.h"

#include "jsonrpc/connection.h"

namespace tarnu::lsp {

asio::awaitable<void> ClientHandle::send_log(MessageType type, std::string message) const {
  jsonrpc::json params = {{"message", std::move(message)}, {"type", static_cast<int>(type)}};
  co_await outbound_->notify(jsonrpc::encode_notification("window/logMessage", params));
}

void ClientHandle::on_response(jsonrpc::Response) const {}

void ClientHandle::close() const { outbound_->close_notifications(); }

}  // namespace tarnu::lsp
