// One JSON-RPC connection over a byte source and sink: a reader that frames, decodes and dispatches
// messages in arrival order, a work runner that keeps a few work items in progress, and a writer that
// frames replies and notifications onto the sink. It knows nothing of the methods; a MessageHandler does.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include <asio/awaitable.hpp>
#include <asio/cancellation_signal.hpp>

#include "jsonrpc/message.h"
#include "jsonrpc/stream.h"
#include "support/async_queue.h"
#include "support/signal.h"

namespace tarnu::jsonrpc {

// The work for one dispatched message: a task that yields the text of its reply, or nothing.
struct WorkItem {
  asio::awaitable<std::optional<std::string>> task;
  // Emitting it cancels the task at its next waiting point; null for work that cannot be cancelled.
  std::shared_ptr<asio::cancellation_signal> cancel;
};

class MessageHandler {
 public:
  virtual ~MessageHandler() = default;
  // Asked before each message; once false, the connection reads no further.
  virtual bool accepts_messages() const = 0;
  virtual void on_response(Response response) = 0;
  // Runs in the reader, in input order, and must not wait.
  virtual WorkItem dispatch(Call call) = 0;
};

// The outgoing side of a connection, shared with whoever sends notifications.
class Outbound {
 public:
  explicit Outbound(const asio::any_io_executor& executor, std::size_t notification_capacity = 64);

  // Queues the text of a notification, waiting while the queue is full. Returns false when it was
  // dropped because the queue is closed.
  asio::awaitable<bool> notify(std::string message);

  // Drops the notifications not yet written and every later one.
  void close_notifications() { notifications_.close(true); }

 private:
  friend class Connection;
  support::Signal writer_wakeup_;
  support::AsyncQueue<std::string> replies_;
  support::AsyncQueue<std::string> notifications_;
};

struct ConnectionLimits {
  std::size_t in_progress = 4;  // work items running at once
  std::size_t waiting = 100;    // work items queued before the reader waits
};

// Runs until the input ends, a message cannot be decoded (after its error reply), or the handler stops
// accepting messages; then lets the work finish and writes out every reply.
asio::awaitable<void> run_connection(ByteSource& source, ByteSink& sink, MessageHandler& handler,
                                     Outbound& outbound, ConnectionLimits limits = {});

}  // namespace tarnu::jsonrpc
