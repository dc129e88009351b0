// The basic URL parser for absolute input, writing the href as it goes instead of building a URL record first:
// the components come out in the order in which they are serialised, so one string holds the whole result.
#include "support/url.h"

#include <cstdint>

#include "support/url_host.h"
#include "support/url_percent.h"

namespace tarnu::support {
namespace {

using namespace url_detail;

constexpr int kEnd = -1;

enum class Scheme : std::uint8_t { other, http, https, ws, wss, ftp, file };

Scheme classify(std::string_view scheme) {
  if (scheme == "http") return Scheme::http;
  if (scheme == "https") return Scheme::https;
  if (scheme == "ws") return Scheme::ws;
  if (scheme == "wss") return Scheme::wss;
  if (scheme == "ftp") return Scheme::ftp;
  if (scheme == "file") return Scheme::file;
  return Scheme::other;
}

unsigned default_port(Scheme scheme) {
  switch (scheme) {
    case Scheme::http:
    case Scheme::ws:
      return 80;
    case Scheme::https:
    case Scheme::wss:
      return 443;
    case Scheme::ftp:
      return 21;
    default:
      return 0x10000;  // no port equals it
  }
}

bool is_alpha(int c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }
bool is_digit(int c) { return c >= '0' && c <= '9'; }
bool is_scheme_char(int c) { return is_alpha(c) || is_digit(c) || c == '+' || c == '-' || c == '.'; }

bool is_windows_drive_letter(std::string_view s) {
  return s.size() == 2 && is_alpha(s[0]) && (s[1] == ':' || s[1] == '|');
}

// How many dots a path segment stands for: 1 for "." and 2 for "..", each dot possibly written "%2e"; 0 otherwise.
int dot_segment(std::string_view s) {
  int dots = 0;
  while (!s.empty() && dots < 2) {
    if (s[0] == '.') {
      s.remove_prefix(1);
    } else if (s.size() >= 3 && s[0] == '%' && s[1] == '2' && (s[2] | 0x20) == 'e') {
      s.remove_prefix(3);
    } else {
      return 0;
    }
    ++dots;
  }
  return s.empty() ? dots : 0;
}

class UrlParser {
 public:
  explicit UrlParser(std::string_view input) : in_(input) {}

  std::optional<std::string> run() {
    std::size_t end = 1;
    if (!is_alpha(at(0))) return std::nullopt;
    while (is_scheme_char(at(end))) ++end;
    if (at(end) != ':') return std::nullopt;

    out_.reserve(in_.size() + 8);
    for (std::size_t i = 0; i < end; ++i) out_ += static_cast<char>(is_alpha(in_[i]) ? in_[i] | 0x20 : in_[i]);
    scheme_ = classify(out_);
    special_ = scheme_ != Scheme::other;
    out_ += ':';
    pos_ = end + 1;

    if (scheme_ == Scheme::file) {
      if (!parse_file()) return std::nullopt;
    } else if (special_) {
      while (is_slash(at(pos_))) ++pos_;  // any run of slashes and backslashes introduces the authority
      if (!parse_authority()) return std::nullopt;
      parse_path_start();
    } else if (at(pos_) == '/' && at(pos_ + 1) == '/') {
      pos_ += 2;
      if (!parse_authority()) return std::nullopt;
      parse_path_start();
    } else if (at(pos_) == '/') {
      ++pos_;
      path_start_ = out_.size();
      parse_path();
    } else {
      parse_opaque_path();
    }
    if (!has_host_ && !opaque_path_ && segments_ > 1 && out_[path_start_ + 1] == '/') {
      // Without this, a path starting with an empty segment would read back as a host.
      out_.insert(path_start_, "/.");
    }
    parse_query_and_fragment();
    return std::move(out_);
  }

 private:
  int at(std::size_t i) const { return i < in_.size() ? static_cast<unsigned char>(in_[i]) : kEnd; }
  bool is_slash(int c) const { return c == '/' || (special_ && c == '\\'); }
  bool ends_segment(char c) const { return c == '/' || c == '?' || c == '#' || (special_ && c == '\\'); }
  bool ends_authority(int c) const { return c == kEnd || c == '?' || c == '#' || is_slash(c); }

  bool parse_authority() {
    const std::size_t start = pos_;
    std::size_t end = start;
    while (!ends_authority(at(end))) ++end;
    out_ += "//";
    has_host_ = true;

    // Everything up to the last '@' is userinfo; earlier '@'s are escaped like any other userinfo byte.
    std::size_t host_start = start;
    const std::size_t at_sign = in_.substr(start, end - start).rfind('@');
    if (at_sign != std::string_view::npos) {
      host_start = start + at_sign + 1;
      if (host_start == end) return false;
      const std::string_view userinfo = in_.substr(start, at_sign);
      const std::size_t colon = userinfo.find(':');
      const std::string_view username = userinfo.substr(0, colon);
      const std::string_view password =
          colon == std::string_view::npos ? std::string_view{} : userinfo.substr(colon + 1);
      if (!username.empty() || !password.empty()) {
        append_encoded(out_, username, kUserinfoSet);
        if (!password.empty()) {
          out_ += ':';
          append_encoded(out_, password, kUserinfoSet);
        }
        out_ += '@';
      }
    }

    std::size_t host_end = host_start;
    for (bool inside_brackets = false; host_end < end; ++host_end) {
      const char c = in_[host_end];
      if (c == ':' && !inside_brackets) break;
      if (c == '[') inside_brackets = true;
      if (c == ']') inside_brackets = false;
    }
    const std::string_view host = in_.substr(host_start, host_end - host_start);
    if (host.empty() && (special_ || host_end < end)) return false;
    if (!append_host(out_, host, special_)) return false;
    pos_ = end;
    return host_end == end || parse_port(host_end + 1, end);
  }

  bool parse_port(std::size_t start, std::size_t end) {
    while (start < end && in_[start] == '0' && start + 1 < end) ++start;
    if (end - start > 5) return false;
    unsigned port = 0;
    for (std::size_t i = start; i < end; ++i) {
      if (!is_digit(in_[i])) return false;
      port = port * 10 + static_cast<unsigned>(in_[i] - '0');
    }
    if (port > 0xFFFF) return false;
    if (start < end && port != default_port(scheme_)) {
      out_ += ':';
      out_ += std::to_string(port);
    }
    return true;
  }

  bool parse_file() {
    out_ += "//";  // a file URL always has a host, the empty one by default
    has_host_ = true;
    if (!is_slash(at(pos_)) || !is_slash(at(pos_ + 1))) {
      if (is_slash(at(pos_))) ++pos_;
      path_start_ = out_.size();
      parse_path();
      return true;
    }
    pos_ += 2;
    const std::size_t start = pos_;
    while (!ends_authority(at(pos_))) ++pos_;
    const std::string_view host = in_.substr(start, pos_ - start);
    if (is_windows_drive_letter(host)) {
      // "file://C:/x" names a drive, not a host.
      path_start_ = out_.size();
      parse_path(host);
      return true;
    }
    if (!host.empty()) {
      const std::size_t host_start = out_.size();
      if (!append_host(out_, host, true)) return false;
      if (std::string_view(out_).substr(host_start) == "localhost") out_.resize(host_start);
    }
    parse_path_start();
    return true;
  }

  void parse_path_start() {
    path_start_ = out_.size();
    if (special_) {
      if (is_slash(at(pos_))) ++pos_;
      parse_path();
    } else if (at(pos_) == '/') {
      ++pos_;
      parse_path();
    }
  }

  // Path segments from `pos_` up to the query, the fragment or the end. `first` is text already taken for the
  // first segment.
  void parse_path(std::string_view first = {}) {
    for (;;) {
      const std::size_t segment = out_.size();
      out_ += '/';
      out_ += first;
      first = {};
      const std::size_t start = pos_;
      while (pos_ < in_.size() && !ends_segment(in_[pos_])) ++pos_;
      append_encoded(out_, in_.substr(start, pos_ - start), kPathSet);
      const bool slash = is_slash(at(pos_));
      end_segment(segment, slash);
      if (!slash) return;
      ++pos_;
    }
  }

  // Resolves the segment that starts with the '/' at `segment` of the output; `slash` tells whether another
  // segment follows, otherwise a trailing dot segment leaves an empty last segment.
  void end_segment(std::size_t segment, bool slash) {
    const std::string_view text = std::string_view(out_).substr(segment + 1);
    const int dots = dot_segment(text);
    if (dots > 0) {
      out_.resize(segment);
      if (dots == 2) shorten_path();
      if (!slash) {
        out_ += '/';
        ++segments_;
      }
      return;
    }
    if (scheme_ == Scheme::file && segments_ == 0 && is_windows_drive_letter(text)) out_[segment + 2] = ':';
    ++segments_;
  }

  void shorten_path() {
    if (segments_ == 0) return;
    const std::string_view path = std::string_view(out_).substr(path_start_);
    // ".." never climbs above a drive letter.
    if (scheme_ == Scheme::file && segments_ == 1 && path.size() == 3 && is_alpha(path[1]) && path[2] == ':') return;
    out_.resize(out_.rfind('/'));
    --segments_;
  }

  void parse_opaque_path() {
    opaque_path_ = true;
    const std::size_t start = pos_;
    while (at(pos_) != kEnd && at(pos_) != '?' && at(pos_) != '#') ++pos_;
    append_encoded(out_, in_.substr(start, pos_ - start), kC0ControlSet);
  }

  void parse_query_and_fragment() {
    if (at(pos_) == '?') {
      const std::size_t start = ++pos_;
      while (at(pos_) != kEnd && at(pos_) != '#') ++pos_;
      out_ += '?';
      append_encoded(out_, in_.substr(start, pos_ - start), special_ ? kSpecialQuerySet : kQuerySet);
    }
    if (at(pos_) == '#') {
      out_ += '#';
      append_encoded(out_, in_.substr(pos_ + 1), kFragmentSet);
    }
  }

  std::string_view in_;
  std::size_t pos_ = 0;
  std::string out_;
  Scheme scheme_ = Scheme::other;
  bool special_ = false;
  bool has_host_ = false;
  bool opaque_path_ = false;
  std::size_t path_start_ = 0;
  std::size_t segments_ = 0;
};

// Length of the well-formed UTF-8 sequence at `i`, or the negated number of bytes that a decoder replaces with
// one U+FFFD (the lead byte and the continuation bytes that were still acceptable).
int utf8_sequence(std::string_view s, std::size_t i) {
  const auto byte = [&](std::size_t k) { return k < s.size() ? static_cast<unsigned char>(s[k]) : 0u; };
  const unsigned lead = byte(i);
  if (lead < 0x80) return 1;
  int length = 0;
  unsigned low = 0x80;
  unsigned high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return -1;
  }
  for (int k = 1; k < length; ++k) {
    const unsigned next = byte(i + static_cast<std::size_t>(k));
    if (next < low || next > high) return -k;
    low = 0x80;
    high = 0xBF;
  }
  return length;
}

bool needs_cleaning(std::string_view input) {
  for (std::size_t i = 0; i < input.size();) {
    const char c = input[i];
    if (c == '\t' || c == '\n' || c == '\r') return true;
    if (static_cast<unsigned char>(c) < 0x80) {
      ++i;
      continue;
    }
    const int length = utf8_sequence(input, i);
    if (length < 0) return true;
    i += static_cast<std::size_t>(length);
  }
  return false;
}

// The input without tabs and newlines, and with ill-formed UTF-8 decoded the way a browser decodes it.
std::string clean(std::string_view input) {
  std::string out;
  out.reserve(input.size());
  for (std::size_t i = 0; i < input.size();) {
    const char c = input[i];
    const int length = utf8_sequence(input, i);
    if (length < 0) {
      out += "\xEF\xBF\xBD";
      i += static_cast<std::size_t>(-length);
      continue;
    }
    if (c != '\t' && c != '\n' && c != '\r') out.append(input.data() + i, static_cast<std::size_t>(length));
    i += static_cast<std::size_t>(length);
  }
  return out;
}

}  // namespace

std::optional<std::string> normalize_url(std::string_view input) {
  const auto is_c0_or_space = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  while (!input.empty() && is_c0_or_space(input.front())) input.remove_prefix(1);
  while (!input.empty() && is_c0_or_space(input.back())) input.remove_suffix(1);
  if (!needs_cleaning(input)) return UrlParser(input).run();
  const std::string cleaned = clean(input);
  return UrlParser(cleaned).run();
}

}  // namespace tarnu::support
