#include "server/document_map.h"

namespace tarnu::server {

const std::string* DocumentMap::Reader::find(std::string_view uri) const {
  auto it = map_.documents_.find(uri);
  return it == map_.documents_.end() ? nullptr : &it->second;
}

void DocumentMap::Writer::store(std::string uri, std::string text) {
  map_.documents_.insert_or_assign(std::move(uri), std::move(text));
}

asio::awaitable<DocumentMap::Reader> DocumentMap::read() { co_return Reader(*this, co_await lock_.read()); }

asio::awaitable<DocumentMap::Writer> DocumentMap::write() { co_return Writer(*this, co_await lock_.write()); }

}  // namespace tarnu::server
