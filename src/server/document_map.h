// The text of every document the editor opened or changed, by normalised URI, behind an asynchronous
// readers-writer lock. Access goes through a Reader or a Writer, which hold the lock while they live, so
// the map cannot be touched without it.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include <asio/awaitable.hpp>

#include "support/rw_lock.h"

namespace tarnu::server {

class DocumentMap {
 public:
  class Reader {
   public:
    // The stored text, read in place while the lock is held; null when the URI was never stored.
    const std::string* find(std::string_view uri) const;

   private:
    friend class DocumentMap;
    Reader(const DocumentMap& map, support::RwLock::Guard guard) : map_(map), guard_(std::move(guard)) {}
    const DocumentMap& map_;
    support::RwLock::Guard guard_;
  };

  class Writer {
   public:
    // Stores `text` as the whole text of `uri`, releasing any earlier one.
    void store(std::string uri, std::string text);

   private:
    friend class DocumentMap;
    Writer(DocumentMap& map, support::RwLock::Guard guard) : map_(map), guard_(std::move(guard)) {}
    DocumentMap& map_;
    support::RwLock::Guard guard_;
  };

  asio::awaitable<Reader> read();
  asio::awaitable<Writer> write();

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const noexcept { return std::hash<std::string_view>{}(text); }
  };

  support::RwLock lock_;
  std::unordered_map<std::string, std::string, Hash, std::equal_to<>> documents_;
};

}  // namespace tarnu::server
