// Host parsing of the URL parser: which of the host forms the text is, and the checks on domains.
#include "support/url_host.h"

#include <algorithm>

#include "support/url_percent.h"

namespace tarnu::support::url_detail {
namespace {

bool is_forbidden_host_byte(unsigned char c) {
  constexpr std::string_view kForbidden("\0\t\n\r #/:<>?@[\\]^|", 17);
  return kForbidden.find(static_cast<char>(c)) != std::string_view::npos;
}

bool is_forbidden_domain_byte(unsigned char c) {
  return is_forbidden_host_byte(c) || c < 0x20 || c == '%' || c == 0x7F;
}

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string percent_decode(std::string_view input) {
  std::string out;
  out.reserve(input.size());
  for (std::size_t i = 0; i < input.size(); ++i) {
    if (input[i] == '%' && i + 2 < input.size() && hex_value(input[i + 1]) >= 0 && hex_value(input[i + 2]) >= 0) {
      out += static_cast<char>(hex_value(input[i + 1]) * 16 + hex_value(input[i + 2]));
      i += 2;
    } else {
      out += input[i];
    }
  }
  return out;
}

bool starts_with_ace_prefix(std::string_view label) {
  return label.size() >= 4 && (label[0] | 0x20) == 'x' && (label[1] | 0x20) == 'n' && label[2] == '-' &&
         label[3] == '-';
}

// UTS #46 leaves nothing to do for ASCII text without an "xn--" label except lower-casing: every other ASCII
// character is valid when the STD3 rules are off, and the Bidi and joiner rules concern non-ASCII letters only.
bool needs_uts46(std::string_view domain) {
  if (std::any_of(domain.begin(), domain.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
    return true;
  }
  for (std::size_t start = 0;;) {
    const std::size_t dot = domain.find('.', start);
    if (starts_with_ace_prefix(domain.substr(start, dot - start))) return true;
    if (dot == std::string_view::npos) return false;
    start = dot + 1;
  }
}

bool append_domain(std::string& out, std::string_view input) {
  std::string decoded;
  std::string_view domain = input;
  if (input.find('%') != std::string_view::npos) {
    decoded = percent_decode(input);
    domain = decoded;
  }
  const std::size_t start = out.size();
  if (needs_uts46(domain)) {
    if (!append_uts46_to_ascii(out, domain)) return false;
  } else {
    for (char c : domain) out += static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
  }
  const std::string_view ascii(out.data() + start, out.size() - start);
  if (ascii.empty()) return false;
  if (std::any_of(ascii.begin(), ascii.end(),
                  [](char c) { return is_forbidden_domain_byte(static_cast<unsigned char>(c)); })) {
    return false;
  }
  if (!ends_in_a_number(ascii)) return true;
  const auto address = parse_ipv4(ascii);
  if (!address) return false;
  out.resize(start);
  append_ipv4(out, *address);
  return true;
}

}  // namespace

bool append_host(std::string& out, std::string_view input, bool special) {
  if (!input.empty() && input.front() == '[') {
    if (input.size() < 2 || input.back() != ']') return false;
    const auto address = parse_ipv6(input.substr(1, input.size() - 2));
    if (!address) return false;
    append_ipv6(out, *address);
    return true;
  }
  if (special) return append_domain(out, input);
  if (std::any_of(input.begin(), input.end(),
                  [](char c) { return is_forbidden_host_byte(static_cast<unsigned char>(c)); })) {
    return false;
  }
  append_encoded(out, input, kC0ControlSet);
  return true;
}

}  // namespace tarnu::support::url_detail
