// Cutting a byte stream into bodies, however the bytes arrive.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "jsonrpc/framing.h"

namespace tarnu::jsonrpc {
namespace {

struct Outcome {
  std::vector<std::string> bodies;
  bool malformed = false;
};

// Feeds `input` in pieces of `piece` bytes and collects what comes out.
Outcome feed(const std::string& input, std::size_t piece) {
  FrameReader frames;
  Outcome outcome;
  std::size_t offset = 0;
  for (;;) {
    std::string_view body;
    auto status = frames.next(body);
    if (status == FrameReader::Status::body) {
      outcome.bodies.emplace_back(body);
      continue;
    }
    if (status == FrameReader::Status::malformed) {
      outcome.malformed = true;
      return outcome;
    }
    if (offset == input.size()) return outcome;
    auto space = frames.prepare();
    std::size_t count = std::min({piece, space.size(), input.size() - offset});
    std::copy_n(input.data() + offset, count, space.data());
    frames.commit(count);
    offset += count;
  }
}

TEST(FrameReader, SameFramesWhateverTheReadSizes) {
  std::string big(100000, 'x');
  std::string input = "Content-Length: 2\r\n\r\n{}Content-Length: 0\r\n\r\nContent-Length: 100000\nX: y\n\n" + big +
                      "Content-Type: a;charset=utf8\r\nContent-Length: 1\r\n\r\n7";
  for (std::size_t piece : {std::size_t{1}, std::size_t{7}, std::size_t{8192}, input.size()}) {
    auto outcome = feed(input, piece);
    EXPECT_FALSE(outcome.malformed) << piece;
    EXPECT_EQ(outcome.bodies, (std::vector<std::string>{"{}", "", big, "7"})) << piece;
  }
}

TEST(FrameReader, AnnouncedLengthDoesNotSizeTheBuffer) {
  FrameReader frames;
  std::string header = "Content-Length: 1000000000000000000\r\n\r\nabc";
  auto space = frames.prepare();
  std::copy(header.begin(), header.end(), space.begin());
  frames.commit(header.size());
  std::string_view body;
  EXPECT_EQ(frames.next(body), FrameReader::Status::need_more);
  EXPECT_LE(frames.prepare().size(), 64u * 1024);  // room for the next read only
  EXPECT_TRUE(frames.has_partial());
}

TEST(FrameReader, RejectsMalformedHeaders) {
  for (const char* input : {
           "content-length: 2\r\n\r\n{}",
           "Content-Length : 2\r\n\r\n{}",
           "Content-Length: -2\r\n\r\n{}",
           "Content-Length: \r\n\r\n",
           "Content-Length: 2 2\r\n\r\n{}",
           "Content-Length: 99999999999999999999\r\n\r\n",
           "Content-Length: 2\r\nContent-Type: text/plain; charset=latin1\r\n\r\n{}",
           "Content-Length: 2\r\nContent-Type: text/plain; charset=utf-8\xff\r\n\r\n{}",
           "A: 1\r\nB: 2\r\nContent-Length: 2\r\n\r\n{}",
           "\r\n",
       }) {
    EXPECT_TRUE(feed(input, 4096).malformed) << input;
  }
}

TEST(FrameReader, AnOverlongHeaderSectionIsMalformedWhateverTheReadSizes) {
  EXPECT_TRUE(feed(std::string(100000, 'a'), 4096).malformed);  // never ends: not buffered for ever
  std::string long_field = "X-Note: " + std::string(70000, 'a') + "\r\nContent-Length: 2\r\n\r\n{}";
  for (std::size_t piece : {std::size_t{1}, std::size_t{4096}, long_field.size()})
    EXPECT_TRUE(feed(long_field, piece).malformed) << piece;
}

}  // namespace
}  // namespace tarnu::jsonrpc
