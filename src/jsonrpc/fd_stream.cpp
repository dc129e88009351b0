#include <cerrno>
#include <system_error>

#include <asio/use_awaitable.hpp>
#include <unistd.h>

#include "jsonrpc/stream.h"

namespace tarnu::jsonrpc {
namespace {

struct IoResult {
  ssize_t count;
  int error;
};

}  // namespace

asio::awaitable<std::size_t> FdSource::read_some(std::span<char> buffer) {
  auto result = co_await support::run_blocking<IoResult>(
      pool_,
      [fd = fd_, buffer] {
        for (;;) {
          ssize_t n = ::read(fd, buffer.data(), buffer.size());
          if (n >= 0 || errno != EINTR) return IoResult{n, n < 0 ? errno : 0};
        }
      },
      asio::use_awaitable);
  if (result.count < 0) throw std::system_error(result.error, std::generic_category(), "read");
  co_return static_cast<std::size_t>(result.count);
}

asio::awaitable<void> FdSink::write_all(std::span<const char> bytes) {
  // One trip to the pool for the whole buffer; the loop there handles partial writes.
  auto result = co_await support::run_blocking<IoResult>(
      pool_,
      [fd = fd_, bytes] {
        std::size_t done = 0;
        while (done < bytes.size()) {
          ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
          if (n < 0) {
            if (errno == EINTR) continue;
            return IoResult{n, errno};
          }
          done += static_cast<std::size_t>(n);
        }
        return IoResult{static_cast<ssize_t>(done), 0};
      },
      asio::use_awaitable);
  if (result.count < 0) throw std::system_error(result.error, std::generic_category(), "write");
}

}  // namespace tarnu::jsonrpc
