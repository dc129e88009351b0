// normalize_url on arbitrary UTF-8 (the protocol delivers no other text). The normalised text is the key of
// a document and goes back to the editor, which sends it again: parsing it must give it back unchanged, and
// it must be plain printable ASCII, everything else being percent-encoded or punycoded.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "jsonrpc/utf8.h"
#include "support/url.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  if (!tarnu::jsonrpc::is_valid_utf8(input)) return -1;  // not worth keeping in the corpus
  auto href = tarnu::support::normalize_url(input);
  if (!href) return 0;
  for (char c : *href) {
    if (c < 0x20 || c > 0x7e) {
      std::fprintf(stderr, "url_fuzz: byte 0x%02x in the href of \"%.*s\"\n", static_cast<unsigned char>(c),
                   static_cast<int>(input.size()), input.data());
      std::abort();
    }
  }
  auto again = tarnu::support::normalize_url(*href);
  if (again != href) {
    std::fprintf(stderr, "url_fuzz: \"%.*s\" gives \"%s\", which gives %s%s%s\n", static_cast<int>(input.size()),
                 input.data(), href->c_str(), again ? "\"" : "", again ? again->c_str() : "a failure", again ? "\"" : "");
    std::abort();
  }
  return 0;
}
