// IPv4 and IPv6 addresses in URL hosts: every textual form browsers accept, and the canonical serialisation.
#include <string>
#include <utility>

#include "support/url_host.h"

namespace tarnu::support::url_detail {
namespace {

constexpr int kEnd = -1;

int hex_value(int c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool is_digit(int c) { return c >= '0' && c <= '9'; }

// Parts can have any number of digits; clamping keeps the arithmetic exact for every value that can still be valid
// (below 2^32) and makes every larger one fail the range checks.
constexpr std::uint64_t kClamp = std::uint64_t{1} << 40;

// A part of a dotted address: decimal, octal with a leading 0, hexadecimal after 0x; "0x" alone is zero.
std::optional<std::uint64_t> parse_ipv4_number(std::string_view part) {
  if (part.empty()) return std::nullopt;
  unsigned radix = 10;
  if (part.size() >= 2 && part[0] == '0' && (part[1] == 'x' || part[1] == 'X')) {
    part.remove_prefix(2);
    radix = 16;
  } else if (part.size() >= 2 && part[0] == '0') {
    part.remove_prefix(1);
    radix = 8;
  }
  std::uint64_t value = 0;
  for (char c : part) {
    const int digit = hex_value(static_cast<unsigned char>(c));
    if (digit < 0 || static_cast<unsigned>(digit) >= radix) return std::nullopt;
    value = value >= kClamp ? kClamp : value * radix + static_cast<unsigned>(digit);
  }
  return value;
}

}  // namespace

bool ends_in_a_number(std::string_view domain) {
  if (!domain.empty() && domain.back() == '.') {
    domain.remove_suffix(1);
    if (domain.empty()) return false;
  }
  const std::size_t dot = domain.rfind('.');
  const std::string_view last = dot == std::string_view::npos ? domain : domain.substr(dot + 1);
  if (!last.empty() && last.find_first_not_of("0123456789") == std::string_view::npos) return true;
  return parse_ipv4_number(last).has_value();
}

std::optional<std::uint32_t> parse_ipv4(std::string_view domain) {
  if (!domain.empty() && domain.back() == '.' && domain.size() > 1) domain.remove_suffix(1);
  std::uint64_t numbers[4];
  std::size_t count = 0;
  for (;;) {
    if (count == 4) return std::nullopt;
    const std::size_t dot = domain.find('.');
    const auto number = parse_ipv4_number(domain.substr(0, dot));
    if (!number) return std::nullopt;
    numbers[count++] = *number;
    if (dot == std::string_view::npos) break;
    domain.remove_prefix(dot + 1);
  }
  std::uint64_t address = numbers[count - 1];
  if (address >= std::uint64_t{1} << (8 * (5 - count))) return std::nullopt;
  for (std::size_t i = 0; i + 1 < count; ++i) {
    if (numbers[i] > 255) return std::nullopt;
    address += numbers[i] << (8 * (3 - i));
  }
  return static_cast<std::uint32_t>(address);
}

void append_ipv4(std::string& out, std::uint32_t address) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    out += std::to_string((address >> shift) & 0xFF);
    if (shift != 0) out += '.';
  }
}

std::optional<Ipv6Address> parse_ipv6(std::string_view input) {
  Ipv6Address address{};
  std::size_t piece = 0;
  std::size_t pointer = 0;
  std::optional<std::size_t> compress;
  const auto at = [&](std::size_t i) { return i < input.size() ? static_cast<unsigned char>(input[i]) : kEnd; };

  if (at(pointer) == ':') {
    if (at(pointer + 1) != ':') return std::nullopt;
    pointer += 2;
    compress = ++piece;
  }
  while (at(pointer) != kEnd) {
    if (piece == 8) return std::nullopt;
    if (at(pointer) == ':') {
      if (compress) return std::nullopt;
      ++pointer;
      compress = ++piece;
      continue;
    }
    unsigned value = 0;
    std::size_t length = 0;
    while (length < 4 && hex_value(at(pointer)) >= 0) {
      value = value * 16 + static_cast<unsigned>(hex_value(at(pointer)));
      ++pointer;
      ++length;
    }
    if (at(pointer) == '.') {
      // An embedded IPv4 address fills the last two pieces.
      if (length == 0 || piece > 6) return std::nullopt;
      pointer -= length;
      int numbers_seen = 0;
      while (at(pointer) != kEnd) {
        if (numbers_seen > 0) {
          if (at(pointer) != '.' || numbers_seen >= 4) return std::nullopt;
          ++pointer;
        }
        if (!is_digit(at(pointer))) return std::nullopt;
        int ipv4_piece = -1;
        while (is_digit(at(pointer))) {
          const int number = at(pointer) - '0';
          if (ipv4_piece == 0) return std::nullopt;  // no leading zeros
          ipv4_piece = ipv4_piece < 0 ? number : ipv4_piece * 10 + number;
          if (ipv4_piece > 255) return std::nullopt;
          ++pointer;
        }
        address[piece] = static_cast<std::uint16_t>(address[piece] * 0x100 + ipv4_piece);
        ++numbers_seen;
        if (numbers_seen == 2 || numbers_seen == 4) ++piece;
      }
      if (numbers_seen != 4) return std::nullopt;
      break;
    }
    if (at(pointer) == ':') {
      ++pointer;
      if (at(pointer) == kEnd) return std::nullopt;
    } else if (at(pointer) != kEnd) {
      return std::nullopt;
    }
    address[piece++] = static_cast<std::uint16_t>(value);
  }
  if (compress) {
    std::size_t swaps = piece - *compress;
    for (piece = 7; piece != 0 && swaps > 0; --piece, --swaps)
      std::swap(address[piece], address[*compress + swaps - 1]);
  } else if (piece != 8) {
    return std::nullopt;
  }
  return address;
}

void append_ipv6(std::string& out, const Ipv6Address& address) {
  // The first longest run of two or more zero pieces becomes "::".
  std::size_t compress = address.size();
  std::size_t best = 1;
  for (std::size_t i = 0; i < address.size();) {
    std::size_t j = i;
    while (j < address.size() && address[j] == 0) ++j;
    if (j - i > best) {
      best = j - i;
      compress = i;
    }
    i = j == i ? i + 1 : j;
  }
  constexpr std::string_view digits = "0123456789abcdef";
  out += '[';
  for (std::size_t i = 0; i < address.size(); ++i) {
    if (i == compress) {
      out += i == 0 ? "::" : ":";
      i += best - 1;
      continue;
    }
    const unsigned piece = address[i];
    bool started = false;
    for (int shift = 12; shift >= 0; shift -= 4) {
      const unsigned digit = (piece >> shift) & 15;
      if (digit != 0 || started || shift == 0) {
        out += digits[digit];
        started = true;
      }
    }
    if (i != 7) out += ':';
  }
  out += ']';
}

}  // namespace tarnu::support::url_detail
