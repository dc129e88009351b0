#include "support/blocking_pool.h"

#include <csignal>
#include <pthread.h>

namespace tarnu::support {

void BlockingPool::submit(std::function<void()> job) {
  std::unique_lock lock(mutex_);
  jobs_.push_back(std::move(job));
  if (idle_ >= jobs_.size() || threads_.size() >= max_threads_) {
    wake_.notify_one();
    return;
  }
  // Start the thread with every signal blocked; it inherits the mask.
  sigset_t all, previous;
  sigfillset(&all);
  pthread_sigmask(SIG_SETMASK, &all, &previous);
  try {
    threads_.emplace_back([this] { work(); });
  } catch (...) {
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    jobs_.pop_back();
    throw;
  }
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

void BlockingPool::work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    ++idle_;
    wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
    --idle_;
    if (jobs_.empty()) return;  // stopping, nothing left to do
    auto job = std::move(jobs_.front());
    jobs_.pop_front();
    lock.unlock();
    job();
    lock.lock();
  }
}

void BlockingPool::join() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  for (auto& thread : threads_) {
    if (thread.joinable()) thread.join();
  }
  threads_.clear();
}

}  // namespace tarnu::support
