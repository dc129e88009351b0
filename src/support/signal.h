// A wake-up for coroutines of a single-threaded executor: each notification lets one waiter through, and
// one that finds nobody waiting is remembered, so a waiter never misses it.
#pragma once

#include <asio/awaitable.hpp>
#include <asio/redirect_error.hpp>
#include <asio/steady_timer.hpp>
#include <asio/use_awaitable.hpp>

namespace tarnu::support {

class Signal {
 public:
  // A timer that never expires on its own: cancel() is the wake-up.
  explicit Signal(const asio::any_io_executor& executor)
      : timer_(executor, asio::steady_timer::time_point::max()) {}

  void notify() {
    pending_ = true;
    timer_.cancel();
  }

  // Completes once a notification is pending and consumes it.
  asio::awaitable<void> wait() {
    while (!pending_) {
      std::error_code ignored;
      co_await timer_.async_wait(asio::redirect_error(asio::use_awaitable, ignored));
    }
    pending_ = false;
  }

 private:
  asio::steady_timer timer_;
  bool pending_ = false;
};

}  // namespace tarnu::support
