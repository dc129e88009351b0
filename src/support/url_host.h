// Host parsing of the URL parser: domains through IDNA, IPv4 and IPv6 addresses, opaque hosts.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarnu::support::url_detail {

// Parses the host text of a URL whose scheme is special (`special`) or not, and appends the host's
// serialisation to `out`. On failure returns false; `out` may then hold partial output.
bool append_host(std::string& out, std::string_view input, bool special);

// UTS #46 ToASCII with the URL Standard's options, in url_idna.cpp. Appends the result, or returns false when
// the domain is invalid.
bool append_uts46_to_ascii(std::string& out, std::string_view domain);

// Address forms, in url_ip.cpp. The IPv6 text is the one between the brackets.
bool ends_in_a_number(std::string_view domain);
std::optional<std::uint32_t> parse_ipv4(std::string_view domain);
void append_ipv4(std::string& out, std::uint32_t address);

using Ipv6Address = std::array<std::uint16_t, 8>;
std::optional<Ipv6Address> parse_ipv6(std::string_view input);
void append_ipv6(std::string& out, const Ipv6Address& address);

}  // namespace tarnu::support::url_detail
