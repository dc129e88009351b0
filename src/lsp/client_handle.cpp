#include "lsp/client_handle.h"

namespace tarnu::lsp {

asio::awaitable<void> ClientHandle::send_log(MessageType type, std::string message) const {
  jsonrpc::json params = {{"message", std::move(message)}, {"type", static_cast<int>(type)}};
  co_await outbound_->notify(jsonrpc::encode_notification("window/logMessage", params));
}

void ClientHandle::on_response(jsonrpc::Response) const {}

}  // namespace tarnu::lsp
