// A wake-up for one waiting coroutine on a single-threaded executor; a notification that finds nobody
// waiting is remembered, so a waiter never misses one.
#pragma once

#include <asio/awaitable.hpp>
#include <asio/redirect_error.hpp>
#include <asio/steady_timer.hpp>
#include <asio/use_awaitable.hpp>

namespace tarnu::support {

class Signal {
 public:
  explicit Signal(const asio::any_io_executor& executor) : timer_(executor) {}

  void notify() {
    pending_ = true;
    timer_.cancel();
  }

  // Completes once a notification is pending and consumes it.
  asio::awaitable<void> wait() {
    while (!pending_) {
      // A timer that never expires on its own: cancel() is the wake-up.
      timer_.expires_at(asio::steady_timer::time_point::max());
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
