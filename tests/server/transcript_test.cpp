// Protocol sessions from tests/server/data/*.transcript, each run against a whole in-memory server.
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "transcript.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> transcript_names() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(TARNU_TEST_DATA))
    if (entry.path().extension() == ".transcript") names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

class Transcript : public ::testing::TestWithParam<std::string> {};

TEST_P(Transcript, ServerWritesExactlyTheExpectedMessages) {
  std::ifstream file(fs::path(TARNU_TEST_DATA) / (GetParam() + ".transcript"), std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  auto result = tarnu::testing::run_transcript(text.str());
  EXPECT_FALSE(result.stalled) << "the connection did not end";
  EXPECT_EQ(result.trailing, "");
  std::size_t count = std::max(result.expected.size(), result.written.size());
  for (std::size_t i = 0; i < count; ++i) {
    std::string expected = i < result.expected.size() ? result.expected[i] : "(nothing)";
    std::string written = i < result.written.size() ? result.written[i] : "(nothing)";
    EXPECT_EQ(written, expected) << "message " << i + 1;
  }
}

INSTANTIATE_TEST_SUITE_P(Sessions, Transcript, ::testing::ValuesIn(transcript_names()),
                         [](const auto& info) {
                           std::string name = info.param;
                           std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
                           return name;
                         });

}  // namespace
