// The readers-writer lock and the bounded queue, driven on one event loop as the connection drives them.
#include <string>
#include <vector>

#include <asio/bind_cancellation_slot.hpp>
#include <asio/co_spawn.hpp>
#include <asio/detached.hpp>
#include <asio/io_context.hpp>
#include <gtest/gtest.h>

#include "support/async_queue.h"
#include "support/rw_lock.h"
#include "support/signal.h"

namespace tarnu::support {
namespace {

struct Loop {
  asio::io_context context{1};
  template <class F>
  void spawn(F&& f) {
    asio::co_spawn(context, std::forward<F>(f), asio::detached);
  }
  void settle() {
    context.restart();
    context.poll();
  }
};

TEST(RwLock, WaitersAreServedInArrivalOrderAndReadersShare) {
  Loop loop;
  RwLock lock;
  std::vector<std::string> events;
  Signal release_first(loop.context.get_executor());

  // A reader holds the lock; then a writer waits; then a reader that asks later must not overtake it.
  loop.spawn([&]() -> asio::awaitable<void> {
    auto guard = co_await lock.read();
    events.push_back("reader 1 in");
    co_await release_first.wait();
    events.push_back("reader 1 out");
  });
  loop.spawn([&]() -> asio::awaitable<void> {
    auto guard = co_await lock.write();
    events.push_back("writer in");
  });
  loop.spawn([&]() -> asio::awaitable<void> {
    auto guard = co_await lock.read();
    events.push_back("reader 2 in");
  });
  loop.spawn([&]() -> asio::awaitable<void> {
    auto guard = co_await lock.read();
    events.push_back("reader 3 in");
  });
  loop.settle();
  EXPECT_EQ(events, (std::vector<std::string>{"reader 1 in"}));

  release_first.notify();
  loop.settle();
  EXPECT_EQ(events, (std::vector<std::string>{"reader 1 in", "reader 1 out", "writer in", "reader 2 in",
                                              "reader 3 in"}));
}

TEST(RwLock, ACancelledWaiterLeavesTheLineAndLetsOthersThrough) {
  Loop loop;
  RwLock lock;
  std::vector<std::string> events;
  Signal release(loop.context.get_executor());
  asio::cancellation_signal cancel_writer;

  loop.spawn([&]() -> asio::awaitable<void> {
    auto guard = co_await lock.read();
    co_await release.wait();
  });
  asio::co_spawn(
      loop.context,
      [&]() -> asio::awaitable<void> {
        try {
          auto guard = co_await lock.write();
          events.push_back("writer in");
        } catch (const std::system_error& e) {
          events.push_back(e.code() == asio::error::operation_aborted ? "writer cancelled" : "other error");
        }
      },
      asio::bind_cancellation_slot(cancel_writer.slot(), asio::detached));
  loop.spawn([&]() -> asio::awaitable<void> {
    auto guard = co_await lock.read();
    events.push_back("reader 2 in");
  });
  loop.settle();
  EXPECT_TRUE(events.empty());  // reader 2 waits behind the writer

  cancel_writer.emit(asio::cancellation_type::terminal);
  loop.settle();
  EXPECT_EQ(events, (std::vector<std::string>{"writer cancelled", "reader 2 in"}));

  release.notify();
  loop.settle();
  loop.spawn([&]() -> asio::awaitable<void> {
    auto guard = co_await lock.write();
    events.push_back("writer 2 in");
  });
  loop.settle();
  EXPECT_EQ(events.back(), "writer 2 in");  // nothing was left holding the lock
}

TEST(Signal, EachNotificationLetsOneWaiterThroughAndNoneIsLost) {
  Loop loop;
  Signal signal(loop.context.get_executor());
  signal.notify();  // nobody waits yet: remembered
  int through = 0;
  for (int i = 0; i < 3; ++i) {
    loop.spawn([&]() -> asio::awaitable<void> {
      co_await signal.wait();
      ++through;
    });
  }
  loop.settle();
  EXPECT_EQ(through, 1);
  signal.notify();
  loop.settle();
  EXPECT_EQ(through, 2);
  signal.notify();
  loop.settle();
  EXPECT_EQ(through, 3);
}

TEST(AsyncQueue, ProducersWaitWhileFullAndResumeInOrder) {
  Loop loop;
  Signal consumer(loop.context.get_executor());
  AsyncQueue<int> queue(2, consumer);
  std::vector<int> accepted;
  for (int i = 0; i < 4; ++i) {
    loop.spawn([&, i]() -> asio::awaitable<void> {
      if (co_await queue.push(i)) accepted.push_back(i);
    });
  }
  loop.settle();
  EXPECT_EQ(accepted, (std::vector<int>{0, 1}));  // the other two wait for room
  EXPECT_EQ(queue.try_pop(), 0);
  loop.settle();
  EXPECT_EQ(accepted, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(queue.try_pop(), 1);
  EXPECT_EQ(queue.try_pop(), 2);
  EXPECT_EQ(queue.try_pop(), 3);
  loop.settle();
  EXPECT_EQ(accepted, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(queue.try_pop(), std::nullopt);
}

TEST(AsyncQueue, HandOverCompletesOnlyWhenTaken) {
  Loop loop;
  Signal consumer(loop.context.get_executor());
  AsyncQueue<std::string> queue(0, consumer);
  bool handed_over = false;
  loop.spawn([&]() -> asio::awaitable<void> { handed_over = co_await queue.push("reply"); });
  loop.settle();
  EXPECT_FALSE(handed_over);
  EXPECT_EQ(queue.try_pop(), "reply");
  loop.settle();
  EXPECT_TRUE(handed_over);
}

TEST(AsyncQueue, ClosingWithDiscardDropsQueuedAndLaterItems) {
  Loop loop;
  Signal consumer(loop.context.get_executor());
  AsyncQueue<int> queue(1, consumer);
  std::vector<bool> results;
  for (int i = 0; i < 2; ++i)
    loop.spawn([&, i]() -> asio::awaitable<void> { results.push_back(co_await queue.push(i)); });
  loop.settle();
  queue.close(true);
  loop.spawn([&]() -> asio::awaitable<void> { results.push_back(co_await queue.push(9)); });
  loop.settle();
  // The first was queued (then discarded), the waiting one and the late one were dropped.
  EXPECT_EQ(results, (std::vector<bool>{true, false, false}));
  EXPECT_EQ(queue.try_pop(), std::nullopt);
  EXPECT_TRUE(queue.finished());
}

TEST(AsyncQueue, ClosingWithoutDiscardDrainsFirst) {
  Loop loop;
  Signal consumer(loop.context.get_executor());
  AsyncQueue<int> queue(4, consumer);
  std::vector<int> popped;
  loop.spawn([&]() -> asio::awaitable<void> {
    co_await queue.push(1);
    co_await queue.push(2);
    queue.close(false);
  });
  loop.spawn([&]() -> asio::awaitable<void> {
    while (auto item = co_await queue.pop()) popped.push_back(*item);
    popped.push_back(-1);  // the end
  });
  loop.settle();
  EXPECT_EQ(popped, (std::vector<int>{1, 2, -1}));
}

}  // namespace
}  // namespace tarnu::support
