#include "host/serve.h"

#include <exception>
#include <sched.h>

#include <asio/co_spawn.hpp>
#include <asio/io_context.hpp>
#include <asio/thread_pool.hpp>

#include "jsonrpc/stream.h"
#include "server/server.h"
#include "support/blocking_pool.h"

namespace tarnu::host {
namespace {

constexpr std::size_t blocking_threads = 512;

std::size_t available_processors() {
  cpu_set_t set;
  if (sched_getaffinity(0, sizeof set, &set) == 0) {
    int count = CPU_COUNT(&set);
    if (count > 0) return static_cast<std::size_t>(count);
  }
  return 1;
}

}  // namespace

void serve_stdio() {
  // All connection work runs on this thread, in one event loop; the workers stand by and the blocking
  // pool does the reads and writes of the standard streams.
  asio::io_context loop(1);
  asio::thread_pool workers(available_processors());
  support::BlockingPool blocking(blocking_threads);

  std::exception_ptr fault;
  {
    jsonrpc::FdSource input(0, blocking);
    jsonrpc::FdSink output(1, blocking);
    asio::co_spawn(loop, server::serve_connection(input, output), [&fault](std::exception_ptr e) { fault = e; });
    loop.run();
  }
  workers.join();
  blocking.join();  // the reader has stopped, so no read is left waiting on standard input
  if (fault) std::rethrow_exception(fault);
}

}  // namespace tarnu::host
