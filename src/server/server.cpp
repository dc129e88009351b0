#include "server/server.h"

#include <asio/this_coro.hpp>

#include "lsp/session.h"
#include "server/backend.h"

namespace tarnu::server {

asio::awaitable<void> serve_connection(jsonrpc::ByteSource& input, jsonrpc::ByteSink& output) {
  auto executor = co_await asio::this_coro::executor;
  auto outbound = std::make_shared<jsonrpc::Outbound>(executor);
  lsp::ClientHandle client(outbound);
  Backend backend(client);  // the client handle exists first: the backend talks through it
  lsp::Session session(backend, client);
  co_await jsonrpc::run_connection(input, output, session, *outbound,
                                   {.in_progress = 4, .waiting = 100});
}

}  // namespace tarnu::server
