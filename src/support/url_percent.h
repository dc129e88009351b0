// Percent-encode sets of the URL parser, shared by the component parsers in url.cpp and url_host.cpp.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarnu::support::url_detail {

// Every set contains all bytes above 0x7E, so encoding byte by byte is the same as encoding each code point's
// UTF-8 sequence, and a serialised URL is always plain ASCII.
class EncodeSet {
 public:
  constexpr EncodeSet() = default;
  constexpr EncodeSet with(std::string_view extra) const {
    EncodeSet result = *this;
    for (char c : extra) result.set(static_cast<unsigned char>(c));
    return result;
  }
  constexpr bool contains(unsigned char c) const { return (bits_[c >> 6] >> (c & 63)) & 1; }

  static constexpr EncodeSet c0_control() {
    EncodeSet result;
    for (unsigned c = 0; c < 0x20; ++c) result.set(c);
    for (unsigned c = 0x7F; c < 0x100; ++c) result.set(c);
    return result;
  }

 private:
  constexpr void set(unsigned c) { bits_[c >> 6] |= std::uint64_t{1} << (c & 63); }
  std::array<std::uint64_t, 4> bits_{};
};

inline constexpr EncodeSet kC0ControlSet = EncodeSet::c0_control();
inline constexpr EncodeSet kFragmentSet = kC0ControlSet.with(" \"<>`");
inline constexpr EncodeSet kQuerySet = kC0ControlSet.with(" \"#<>");
inline constexpr EncodeSet kSpecialQuerySet = kQuerySet.with("'");
inline constexpr EncodeSet kPathSet = kQuerySet.with("?`{}");
inline constexpr EncodeSet kUserinfoSet = kPathSet.with("/:;=@[\\]^|");

inline void append_encoded(std::string& out, unsigned char c, const EncodeSet& set) {
  if (!set.contains(c)) {
    out += static_cast<char>(c);
    return;
  }
  constexpr std::string_view digits = "0123456789ABCDEF";
  const char escape[3] = {'%', digits[c >> 4], digits[c & 15]};
  out.append(escape, 3);
}

// Copies runs of bytes that need no escape in one go: most of a typical URI is such a run.
inline void append_encoded(std::string& out, std::string_view text, const EncodeSet& set) {
  std::size_t run = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (!set.contains(c)) continue;
    out.append(text.data() + run, i - run);
    append_encoded(out, c, set);
    run = i + 1;
  }
  out.append(text.data() + run, text.size() - run);
}

}  // namespace tarnu::support::url_detail
