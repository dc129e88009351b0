// A bounded first-in, first-out queue between coroutines of one single-threaded executor.
//
// Producers wait while the queue is full; with capacity 0 every producer waits until the consumer has taken
// its item (a hand-over). The consumer is woken through a Signal that it may share with other queues, so
// one coroutine can wait on several queues at once.
#pragma once

#include <cstddef>
#include <deque>
#include <list>
#include <optional>
#include <system_error>
#include <utility>

#include <asio/awaitable.hpp>
#include <asio/error.hpp>
#include <asio/redirect_error.hpp>
#include <asio/steady_timer.hpp>
#include <asio/this_coro.hpp>
#include <asio/use_awaitable.hpp>

#include "support/signal.h"

namespace tarnu::support {

template <class T>
class AsyncQueue {
 public:
  AsyncQueue(std::size_t capacity, Signal& consumer) : capacity_(capacity), consumer_(consumer) {}
  AsyncQueue(const AsyncQueue&) = delete;
  AsyncQueue& operator=(const AsyncQueue&) = delete;

  // Queues `item`, waiting while the queue is full. Returns false when the queue was closed before the
  // item was queued or taken, in which case the item is dropped.
  asio::awaitable<bool> push(T item) {
    if (closed_) co_return false;
    if (blocked_.empty() && items_.size() < capacity_) {
      items_.push_back(std::move(item));
      consumer_.notify();
      co_return true;
    }
    auto executor = co_await asio::this_coro::executor;
    auto& waiter = blocked_.emplace_back(std::move(item), executor);
    auto position = std::prev(blocked_.end());
    consumer_.notify();
    std::error_code ignored;
    co_await waiter.timer.async_wait(asio::redirect_error(asio::use_awaitable, ignored));
    if (waiter.outcome == Outcome::waiting) {  // our own wait was cancelled: withdraw the item
      blocked_.erase(position);
      throw std::system_error(asio::error::operation_aborted);
    }
    bool taken = waiter.outcome == Outcome::taken;
    blocked_.erase(position);
    co_return taken;
  }

  // Takes the oldest item, if there is one, and lets the first waiting producer in.
  std::optional<T> try_pop() {
    std::optional<T> item;
    if (!items_.empty()) {
      item = std::move(items_.front());
      items_.pop_front();
    }
    for (auto& waiter : blocked_) {
      if (waiter.outcome != Outcome::waiting) continue;
      if (item) {
        items_.push_back(std::move(waiter.item));
      } else {
        item = std::move(waiter.item);
      }
      waiter.outcome = Outcome::taken;
      waiter.timer.cancel();
      break;
    }
    return item;
  }

  // Waits for the next item; nothing once the queue is closed and drained.
  asio::awaitable<std::optional<T>> pop() {
    for (;;) {
      if (auto item = try_pop()) co_return item;
      if (finished()) co_return std::nullopt;
      co_await consumer_.wait();
    }
  }

  // No further items are accepted. With `discard`, what is queued is dropped too and its producers resume.
  void close(bool discard) {
    closed_ = true;
    if (discard) {
      items_.clear();
      for (auto& waiter : blocked_) {
        if (waiter.outcome != Outcome::waiting) continue;
        waiter.outcome = Outcome::dropped;
        waiter.timer.cancel();
      }
    }
    consumer_.notify();
  }

  bool empty() const { return items_.empty() && !has_blocked(); }
  bool finished() const { return closed_ && items_.empty() && !has_blocked(); }

 private:
  enum class Outcome { waiting, taken, dropped };
  struct Blocked {
    Blocked(T value, const asio::any_io_executor& executor)
        : item(std::move(value)), timer(executor, asio::steady_timer::time_point::max()) {}
    T item;
    asio::steady_timer timer;
    Outcome outcome = Outcome::waiting;
  };

  bool has_blocked() const {
    for (const auto& waiter : blocked_)
      if (waiter.outcome == Outcome::waiting) return true;
    return false;
  }

  std::size_t capacity_;
  Signal& consumer_;
  std::deque<T> items_;
  std::list<Blocked> blocked_;  // stable addresses: each producer waits on its own entry
  bool closed_ = false;
};

}  // namespace tarnu::support
