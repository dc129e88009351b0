// One language-server connection over a byte source and sink, from the first byte to the last reply.
#pragma once

#include <asio/awaitable.hpp>

#include "jsonrpc/stream.h"

namespace tarnu::server {

// Builds the connection's objects (the outgoing queues, the Backend with an empty document map, the
// session with its method table), runs the connection until it ends and releases them all.
asio::awaitable<void> serve_connection(jsonrpc::ByteSource& input, jsonrpc::ByteSink& output);

}  // namespace tarnu::server
