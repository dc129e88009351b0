// Runs a whole server connection in memory from a transcript: the frames that go in and the messages
// expected out, so that a protocol case is a few lines of text rather than code.
//
// Notation, one item per line:
//   --> {json}     a message body sent to the server; its header is computed
//   ==> text       raw bytes sent as they stand, with \r \n \t \\ and \xNN escapes
//   <-- {json}     a message body the server must write next, byte for byte
//   # ...          a comment; empty lines are ignored
// Consecutive input lines arrive together in one read. The next read happens only once every expected
// output before it has been written, as an editor waits for answers; after the last line the input ends.
#pragma once

#include <string>
#include <vector>

namespace tarnu::testing {

struct TranscriptResult {
  std::vector<std::string> expected;  // bodies, in order
  std::vector<std::string> written;   // bodies the server wrote, in order
  std::string trailing;               // bytes written that do not form a whole frame
  bool stalled = false;               // the connection did not end
};

TranscriptResult run_transcript(const std::string& text);

// Bytes of a frame around `body`.
std::string frame(const std::string& body);

}  // namespace tarnu::testing
