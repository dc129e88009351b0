// Domain to ASCII for URL hosts: UTS #46 ToASCII through ICU, with the options the URL Standard sets.
#include <unicode/uidna.h>

#include <climits>
#include <cstdint>
#include <string>

#include "support/url_host.h"

namespace tarnu::support::url_detail {
namespace {

const UIDNA* uts46() {
  static const UIDNA* const idna = [] {
    UErrorCode status = U_ZERO_ERROR;
    UIDNA* opened = uidna_openUTS46(UIDNA_CHECK_BIDI | UIDNA_CHECK_CONTEXTJ | UIDNA_NONTRANSITIONAL_TO_ASCII, &status);
    return U_SUCCESS(status) ? opened : nullptr;
  }();
  return idna;
}

// ICU always checks hyphens and DNS lengths; the URL Standard turns both checks off (CheckHyphens and
// VerifyDnsLength are false), so those error bits do not count.
constexpr std::uint32_t kIgnoredErrors = UIDNA_ERROR_EMPTY_LABEL | UIDNA_ERROR_LABEL_TOO_LONG |
                                         UIDNA_ERROR_DOMAIN_NAME_TOO_LONG | UIDNA_ERROR_LEADING_HYPHEN |
                                         UIDNA_ERROR_TRAILING_HYPHEN | UIDNA_ERROR_HYPHEN_3_4;

}  // namespace

// ICU cannot encode or decode a Punycode label of more than 1000 code points (U_INPUT_TOO_LONG_ERROR); such
// domains fail here although the URL Standard sets no length limit.
bool append_uts46_to_ascii(std::string& out, std::string_view domain) {
  if (uts46() == nullptr || domain.size() > INT32_MAX / 4) return false;
  const std::size_t start = out.size();
  std::size_t capacity = domain.size() + 16;
  for (;;) {
    out.resize(start + capacity);
    UErrorCode status = U_ZERO_ERROR;
    UIDNAInfo info = UIDNA_INFO_INITIALIZER;
    const int32_t length = uidna_nameToASCII_UTF8(uts46(), domain.data(), static_cast<int32_t>(domain.size()),
                                                  out.data() + start, static_cast<int32_t>(capacity), &info, &status);
    if (status == U_BUFFER_OVERFLOW_ERROR && static_cast<std::size_t>(length) > capacity) {
      capacity = static_cast<std::size_t>(length);
      continue;
    }
    if (U_FAILURE(status) || (info.errors & ~kIgnoredErrors) != 0) return false;
    out.resize(start + static_cast<std::size_t>(length));
    return true;
  }
}

}  // namespace tarnu::support::url_detail
