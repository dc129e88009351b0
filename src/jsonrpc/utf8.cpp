#include "jsonrpc/utf8.h"

#include <cstdint>
#include <cstring>

namespace tarnu::jsonrpc {

bool is_valid_utf8(std::string_view text) noexcept {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  while (p < end) {
    // Skip ASCII 32 bytes at a time: most protocol text is ASCII.
    if (end - p >= 32) {
      std::uint64_t chunk[4];
      std::memcpy(chunk, p, sizeof chunk);
      if (((chunk[0] | chunk[1] | chunk[2] | chunk[3]) & 0x8080808080808080ull) == 0) {
        p += 32;
        continue;
      }
    }
    if (end - p >= 8) {
      std::uint64_t chunk;
      std::memcpy(&chunk, p, 8);
      if ((chunk & 0x8080808080808080ull) == 0) {
        p += 8;
        continue;
      }
    }
    unsigned char c = *p;
    if (c < 0x80) {
      ++p;
      continue;
    }
    int extra;
    unsigned char low = 0x80, high = 0xbf;  // allowed range of the second byte
    if (c >= 0xc2 && c <= 0xdf) {
      extra = 1;
    } else if (c >= 0xe0 && c <= 0xef) {
      extra = 2;
      if (c == 0xe0) low = 0xa0;
      if (c == 0xed) high = 0x9f;  // no surrogates
    } else if (c >= 0xf0 && c <= 0xf4) {
      extra = 3;
      if (c == 0xf0) low = 0x90;
      if (c == 0xf4) high = 0x8f;
    } else {
      return false;
    }
    if (end - p <= extra) return false;
    if (p[1] < low || p[1] > high) return false;
    for (int i = 2; i <= extra; ++i)
      if ((p[i] & 0xc0) != 0x80) return false;
    p += extra + 1;
  }
  return true;
}

}  // namespace tarnu::jsonrpc
