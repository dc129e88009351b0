// The byte source and sink a connection runs over: standard input and output in the server, pipes in tests.
#pragma once

#include <cstddef>
#include <span>

#include <asio/awaitable.hpp>

#include "support/blocking_pool.h"

namespace tarnu::jsonrpc {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads at least one byte into `buffer`, or 0 at the end of the input. Throws std::system_error.
  virtual asio::awaitable<std::size_t> read_some(std::span<char> buffer) = 0;
};

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Writes all of `bytes`. Throws std::system_error, for instance when the reading end has gone.
  virtual asio::awaitable<void> write_all(std::span<const char> bytes) = 0;
};

// A file descriptor read or written with plain blocking calls on pool threads: it works the same for
// pipes, regular files and /dev/null, none of which needs to be pollable.
class FdSource final : public ByteSource {
 public:
  FdSource(int fd, support::BlockingPool& pool) : fd_(fd), pool_(pool) {}
  asio::awaitable<std::size_t> read_some(std::span<char> buffer) override;

 private:
  int fd_;
  support::BlockingPool& pool_;
};

class FdSink final : public ByteSink {
 public:
  FdSink(int fd, support::BlockingPool& pool) : fd_(fd), pool_(pool) {}
  asio::awaitable<void> write_all(std::span<const char> bytes) override;

 private:
  int fd_;
  support::BlockingPool& pool_;
};

}  // namespace tarnu::jsonrpc
