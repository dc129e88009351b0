// Arbitrary bytes through the reader's framing and decoding, arriving in reads of arbitrary sizes.
// Nothing may crash; how the input is cut into reads must not change what is framed; and what the server
// would write back about a decoded message decodes to the same message.
//
// Input: the first byte chooses how the rest is cut into reads, the rest is the stream.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "jsonrpc/framing.h"
#include "jsonrpc/json_text.h"
#include "jsonrpc/message.h"

namespace {

using namespace tarnu::jsonrpc;

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "framing_fuzz: %s\n", what);
  std::abort();
}

struct Framed {
  std::vector<std::string> bodies;
  bool malformed = false;
  bool partial = false;  // input ended inside a message
  bool operator==(const Framed&) const = default;
};

// Reads as the connection does: every complete body first, then more input, `next_size()` bytes at most.
template <class NextSize>
Framed frame_all(std::string_view input, NextSize next_size) {
  FrameReader frames;
  Framed framed;
  for (;;) {
    std::string_view body;
    auto status = frames.next(body);
    if (status == FrameReader::Status::body) {
      framed.bodies.emplace_back(body);
    } else if (status == FrameReader::Status::malformed) {
      framed.malformed = true;
      return framed;
    } else if (input.empty()) {
      framed.partial = frames.has_partial();
      return framed;
    } else {
      auto room = frames.prepare();
      if (room.empty()) fail("prepare() offered no room");
      auto count = std::min({room.size(), input.size(), next_size()});
      std::copy_n(input.data(), count, room.data());
      input.remove_prefix(count);
      frames.commit(count);
    }
  }
}

// The replies and notifications the server writes are read back by the editor: a decoded message written
// out with the server's encoder must decode to the same method, parameters and id.
void check_round_trip(const Call& call) {
  const json params = call.params.value_or(json());
  auto echoed = decode_message(encode_notification(call.method, params));
  auto* again = std::get_if<Call>(&echoed);
  if (!again || again->method != call.method || !again->params || to_json_text(*again->params) != to_json_text(params))
    fail("a notification written by the encoder decodes differently");
  if (!call.id) return;
  auto answered = decode_message(encode_result(*call.id, params));
  auto* response = std::get_if<Response>(&answered);
  if (!response || !(response->id == *call.id)) fail("a reply written by the encoder does not carry the same id");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const unsigned shape = data[0];
  std::string_view stream(reinterpret_cast<const char*>(data) + 1, size - 1);

  // Reads of up to 2^k bytes, k from the first byte, lengths drawn from a generator it seeds.
  std::uint32_t state = shape * 2654435761u + 1;
  const std::size_t largest = std::size_t{1} << (shape % 16);
  auto pieces = [&] {
    state = state * 1664525u + 1013904223u;
    return 1 + (state >> 8) % largest;
  };
  Framed framed = frame_all(stream, pieces);

  // A header line longer than the 64 KiB allowed is refused or not depending on how much of it has arrived
  // when the reader looks; below that the reads make no difference.
  if (stream.size() <= 64 * 1024) {
    Framed whole = frame_all(stream, [] { return std::size_t(-1); });
    if (!(whole == framed)) fail("the framing depends on how the input is cut into reads");
  }

  for (const auto& body : framed.bodies) {
    if (body.empty()) continue;
    auto decoded = decode_message(body);
    if (auto* call = std::get_if<Call>(&decoded)) check_round_trip(*call);
    if (auto* error = std::get_if<Error>(&decoded)) (void)encode_error(Id{nullptr}, *error);
  }
  return 0;
}
