#include "support/rw_lock.h"

#include <system_error>

#include <asio/error.hpp>
#include <asio/redirect_error.hpp>
#include <asio/this_coro.hpp>
#include <asio/use_awaitable.hpp>

namespace tarnu::support {

bool RwLock::can_take(Mode mode) const {
  return mode == Mode::shared ? !writer_ : !writer_ && readers_ == 0;
}

void RwLock::take(Mode mode) {
  if (mode == Mode::shared) {
    ++readers_;
  } else {
    writer_ = true;
  }
}

asio::awaitable<RwLock::Guard> RwLock::acquire(Mode mode) {
  if (waiters_.empty() && can_take(mode)) {
    take(mode);
    co_return Guard(this, mode);
  }
  auto executor = co_await asio::this_coro::executor;
  auto& waiter = waiters_.emplace_back(mode, executor);
  auto position = std::prev(waiters_.end());
  std::error_code ignored;
  co_await waiter.timer.async_wait(asio::redirect_error(asio::use_awaitable, ignored));
  bool granted = waiter.granted;
  waiters_.erase(position);
  if (!granted) {
    // Cancelled while waiting: whoever stood behind us may be able to go now.
    admit_waiters();
    throw std::system_error(asio::error::operation_aborted);
  }
  co_return Guard(this, mode);
}

void RwLock::release(Mode mode) {
  if (mode == Mode::shared) {
    --readers_;
  } else {
    writer_ = false;
  }
  admit_waiters();
}

// Grants the lock to waiters from the front of the line for as long as they are compatible.
void RwLock::admit_waiters() {
  for (auto& waiter : waiters_) {
    if (waiter.granted) continue;  // granted, not yet resumed
    if (!can_take(waiter.mode)) break;
    take(waiter.mode);
    waiter.granted = true;
    waiter.timer.cancel();
  }
}

}  // namespace tarnu::support
