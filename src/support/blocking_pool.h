// Threads for operations that block, such as reads and writes of standard streams that may be regular
// files or /dev/null and so cannot be waited on with readiness events.
//
// Threads are started on demand up to a limit and linger while idle; signals are blocked on them, so
// signals keep going to the thread that runs the interpreter.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include <asio/any_io_executor.hpp>
#include <asio/async_result.hpp>
#include <asio/associated_executor.hpp>
#include <asio/execution/outstanding_work.hpp>
#include <asio/post.hpp>
#include <asio/prefer.hpp>

namespace tarnu::support {

class BlockingPool {
 public:
  explicit BlockingPool(std::size_t max_threads) : max_threads_(max_threads) {}
  BlockingPool(const BlockingPool&) = delete;
  BlockingPool& operator=(const BlockingPool&) = delete;
  ~BlockingPool() { join(); }

  // Runs `job` on a pool thread. Throws std::system_error when a needed thread cannot be started.
  void submit(std::function<void()> job);

  // Lets every thread finish the job it is running, then stops them all. Queued jobs still run.
  void join();

 private:
  void work();

  std::size_t max_threads_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> jobs_;
  std::vector<std::thread> threads_;
  std::size_t idle_ = 0;
  bool stopping_ = false;
};

// Runs `fn` on the pool and completes with its result on the awaiting coroutine's executor.
// `fn` must not throw; it returns a plain value such as the outcome of a system call.
template <class Result, class Fn, class Token>
auto run_blocking(BlockingPool& pool, Fn fn, Token&& token) {
  return asio::async_initiate<Token, void(Result)>(
      [&pool](auto handler, Fn fn) {
        // Keeps the executor's loop alive while the job is away on another thread.
        auto executor = asio::prefer(asio::get_associated_executor(handler),
                                     asio::execution::outstanding_work.tracked);
        auto shared = std::make_shared<decltype(handler)>(std::move(handler));
        pool.submit([shared, executor, fn = std::move(fn)]() mutable {
          Result result = fn();
          asio::post(executor, [shared, result = std::move(result)]() mutable { (*shared)(std::move(result)); });
        });
      },
      token, std::move(fn));
}

}  // namespace tarnu::support
