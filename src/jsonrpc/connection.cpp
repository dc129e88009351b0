#include "jsonrpc/connection.h"

#include <exception>
#include <system_error>

#include <asio/bind_cancellation_slot.hpp>
#include <asio/co_spawn.hpp>
#include <asio/detached.hpp>
#include <asio/experimental/awaitable_operators.hpp>
#include <asio/post.hpp>
#include <asio/this_coro.hpp>
#include <asio/use_awaitable.hpp>

#include "jsonrpc/framing.h"

namespace tarnu::jsonrpc {

Outbound::Outbound(const asio::any_io_executor& executor, std::size_t notification_capacity)
    : writer_wakeup_(executor), replies_(0, writer_wakeup_), notifications_(notification_capacity, writer_wakeup_) {}

asio::awaitable<bool> Outbound::notify(std::string message) {
  co_return co_await notifications_.push(std::move(message));
}

class Connection {
 public:
  Connection(ByteSource& source, ByteSink& sink, MessageHandler& handler, Outbound& outbound,
             ConnectionLimits limits, const asio::any_io_executor& executor)
      : source_(source),
        sink_(sink),
        handler_(handler),
        outbound_(outbound),
        limits_(limits),
        executor_(executor),
        runner_wakeup_(executor),
        work_(limits.waiting, runner_wakeup_) {}

  asio::awaitable<void> run() {
    using namespace asio::experimental::awaitable_operators;
    co_await (read_loop() && run_loop() && write_loop());
    if (fault_) std::rethrow_exception(fault_);
  }

 private:
  asio::awaitable<void> read_loop();
  asio::awaitable<void> run_loop();
  asio::awaitable<void> write_loop();
  void start(WorkItem item);
  asio::awaitable<void> deliver(std::optional<std::string> reply);
  asio::awaitable<void> flush(std::string& out);

  ByteSource& source_;
  ByteSink& sink_;
  MessageHandler& handler_;
  Outbound& outbound_;
  ConnectionLimits limits_;
  asio::any_io_executor executor_;

  support::Signal runner_wakeup_;  // new work, or a work item finished
  support::AsyncQueue<WorkItem> work_;
  std::size_t in_progress_ = 0;
  bool output_broken_ = false;  // the sink failed: stop reading, drop what would be written
  std::exception_ptr fault_;
};

asio::awaitable<void> Connection::read_loop() {
  FrameReader frames;
  std::optional<Error> failure;
  bool stop = false;
  while (!stop) {
    std::string_view body;
    auto status = frames.next(body);
    if (status == FrameReader::Status::body) {
      if (body.empty()) continue;  // an empty body carries no message
      auto decoded = decode_message(body);
      if (auto* error = std::get_if<Error>(&decoded)) {
        failure = std::move(*error);
        break;
      }
      if (!handler_.accepts_messages()) break;
      if (auto* response = std::get_if<Response>(&decoded)) {
        handler_.on_response(std::move(*response));
      } else {
        co_await work_.push(handler_.dispatch(std::move(std::get<Call>(decoded))));
      }
      stop = output_broken_;
      continue;
    }
    if (status == FrameReader::Status::malformed) {
      failure = errors::parse();
      break;
    }
    if (output_broken_) break;
    std::size_t count = 0;
    try {
      count = co_await source_.read_some(frames.prepare());
    } catch (const std::system_error&) {
      failure = errors::parse();
      break;
    }
    if (count == 0) {
      if (frames.has_partial()) failure = errors::parse();
      break;
    }
    frames.commit(count);
  }
  if (failure) co_await outbound_.replies_.push(encode_error(Id{nullptr}, *failure));
  work_.close(false);  // what is queued still runs
}

asio::awaitable<void> Connection::run_loop() {
  while (auto item = co_await work_.pop()) {
    while (in_progress_ >= limits_.in_progress) co_await runner_wakeup_.wait();
    start(std::move(*item));
  }
  while (in_progress_ > 0) co_await runner_wakeup_.wait();
  // The reader has handed over its last reply before closing the work queue, so no reply is left to come.
  outbound_.replies_.close(false);
  // Notifications sent by the work that has run are still written; none can follow.
  outbound_.notifications_.close(false);
}

void Connection::start(WorkItem item) {
  ++in_progress_;
  auto cancel = std::move(item.cancel);
  auto done = [this, cancel](std::exception_ptr fault, std::optional<std::string> reply) {
    if (fault && !fault_) fault_ = fault;
    asio::co_spawn(executor_, deliver(std::move(reply)), asio::detached);
  };
  if (cancel) {
    asio::co_spawn(executor_, std::move(item.task), asio::bind_cancellation_slot(cancel->slot(), std::move(done)));
  } else {
    asio::co_spawn(executor_, std::move(item.task), std::move(done));
  }
}

// Hands the reply to the writer outside the work item, so that cancelling the item can never lose it.
asio::awaitable<void> Connection::deliver(std::optional<std::string> reply) {
  if (reply) co_await outbound_.replies_.push(std::move(*reply));
  --in_progress_;
  runner_wakeup_.notify();
}

asio::awaitable<void> Connection::write_loop() {
  constexpr std::size_t batch_bytes = 8 * 1024;
  auto& replies = outbound_.replies_;
  auto& notifications = outbound_.notifications_;
  std::string out;
  out.reserve(batch_bytes);
  bool reply_first = true;  // alternate between the two queues while both hold messages
  int idle_turns = 0;  // loop turns waited for replies of work still running
  for (;;) {
    auto message = reply_first ? replies.try_pop() : notifications.try_pop();
    if (!message) message = reply_first ? notifications.try_pop() : replies.try_pop();
    if (message) {
      idle_turns = 0;
      reply_first = !reply_first;
      if (!output_broken_) {
        out += "Content-Length: ";
        out += std::to_string(message->size());
        out += "\r\n\r\n";
        out += *message;
        if (out.size() >= batch_bytes) co_await flush(out);
      }
      continue;
    }
    if (!out.empty()) {
      // Give work that is about to finish a few turns of the loop: its replies can share this write.
      if ((in_progress_ > 0 || !work_.empty()) && idle_turns < 8) {
        ++idle_turns;
        co_await asio::post(executor_, asio::use_awaitable);
        continue;
      }
      idle_turns = 0;
      co_await flush(out);  // nothing more is ready: write what has gathered
      continue;
    }
    if (replies.finished() && notifications.finished()) co_return;
    co_await outbound_.writer_wakeup_.wait();
  }
}

asio::awaitable<void> Connection::flush(std::string& out) {
  try {
    co_await sink_.write_all(out);
  } catch (const std::system_error&) {
    // The editor no longer reads what we write; finish quietly.
    output_broken_ = true;
  }
  out.clear();
  if (out.capacity() > 64 * 1024) out.shrink_to_fit();
}

asio::awaitable<void> run_connection(ByteSource& source, ByteSink& sink, MessageHandler& handler,
                                     Outbound& outbound, ConnectionLimits limits) {
  auto executor = co_await asio::this_coro::executor;
  Connection connection(source, sink, handler, outbound, limits, executor);
  co_await connection.run();
}

}  // namespace tarnu::jsonrpc
