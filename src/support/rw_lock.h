// An asynchronous readers-writer lock for coroutines of one single-threaded executor.
//
// Any number of readers or one writer hold it at a time. Waiters are served strictly in the order in
// which they asked, so a waiting writer is not overtaken by readers that come after it. Waiting yields to
// the other coroutines of the executor, and a waiter whose coroutine is cancelled leaves the line with
// asio::error::operation_aborted.
#pragma once

#include <list>

#include <asio/awaitable.hpp>
#include <asio/steady_timer.hpp>

namespace tarnu::support {

class RwLock {
 public:
  enum class Mode { shared, exclusive };

  // Releases the lock it holds when it goes out of scope.
  class [[nodiscard]] Guard {
   public:
    Guard(Guard&& other) noexcept : lock_(std::exchange(other.lock_, nullptr)), mode_(other.mode_) {}
    Guard& operator=(Guard&&) = delete;
    ~Guard() {
      if (lock_) lock_->release(mode_);
    }

   private:
    friend class RwLock;
    Guard(RwLock* lock, Mode mode) : lock_(lock), mode_(mode) {}
    RwLock* lock_;
    Mode mode_;
  };

  RwLock() = default;
  RwLock(const RwLock&) = delete;
  RwLock& operator=(const RwLock&) = delete;

  asio::awaitable<Guard> read() { return acquire(Mode::shared); }
  asio::awaitable<Guard> write() { return acquire(Mode::exclusive); }

 private:
  struct Waiter {
    Waiter(Mode m, const asio::any_io_executor& executor)
        : mode(m), timer(executor, asio::steady_timer::time_point::max()) {}
    Mode mode;
    asio::steady_timer timer;
    bool granted = false;
  };

  asio::awaitable<Guard> acquire(Mode mode);
  bool can_take(Mode mode) const;
  void take(Mode mode);
  void release(Mode mode);
  void admit_waiters();

  int readers_ = 0;
  bool writer_ = false;
  std::list<Waiter> waiters_;
};

}  // namespace tarnu::support
