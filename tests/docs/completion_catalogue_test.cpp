// The completion catalogue: its size, its groups in order, and texts that go on the wire unescaped.

#include "docs/completion_catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <string_view>

namespace {

using tarnu::docs::completion_catalogue;
using tarnu::docs::CompletionEntry;

struct Row {
  std::string label;
  std::string detail;
};

void expect_entries(std::size_t first, std::initializer_list<Row> rows) {
  const auto catalogue = completion_catalogue();
  std::size_t number = first;
  for (const auto& row : rows) {
    SCOPED_TRACE("entry " + std::to_string(number));
    ASSERT_LE(number, catalogue.size());
    EXPECT_EQ(catalogue[number - 1].label, row.label);
    EXPECT_EQ(catalogue[number - 1].detail, row.detail);
    ++number;
  }
}

TEST(CompletionCatalogue, HasSeventyThreeEntriesFromConstToUnit) {
  const auto catalogue = completion_catalogue();
  ASSERT_EQ(catalogue.size(), 73u);
  expect_entries(1, {{"const", "variable keyword"}});
  expect_entries(73, {{"-> ()", "Return type: unit (void)"}});
  EXPECT_EQ(catalogue.data(), completion_catalogue().data()) << "one constant table, not rebuilt per call";
}

TEST(CompletionCatalogue, LabelsAreUniqueAndTextsNeedNoJsonEscape) {
  std::set<std::string_view> labels;
  for (const CompletionEntry& entry : completion_catalogue()) {
    SCOPED_TRACE(std::string(entry.label));
    EXPECT_TRUE(labels.insert(entry.label).second) << "duplicate label";
    EXPECT_FALSE(entry.label.empty());
    EXPECT_FALSE(entry.detail.empty());
    for (std::string_view text : {entry.label, entry.detail}) {
      EXPECT_TRUE(std::ranges::all_of(text, [](char c) { return c >= 0x20 && c < 0x7f && c != '"' && c != '\\'; }))
          << "printable ASCII without quote or backslash: " << text;
      EXPECT_EQ(text, std::string(text).c_str()) << "no embedded NUL";
    }
  }
}

TEST(CompletionCatalogue, OneOffEntriesInOrder) {
  expect_entries(1, {{"const", "variable keyword"},
                     {"fn", "function keyword"},
                     {"let", "variable keyword"},
                     {"mod", "module keyword"},
                     {"match", "pattern matching keyword"},
                     {"assert!", "assertion macro"},
                     {"main", "main function"},
                     {"Left", "Either left variant"},
                     {"Right", "Either right variant"},
                     {"Some", "Option some variant"},
                     {"None", "Option none variant"}});
  expect_entries(18, {{"Either", "Either type for sum types"},
                      {"Option", "Option type for nullable values"},
                      {"Pubkey", "Bitcoin public key type"},
                      {"Signature", "Digital signature type"},
                      {"Ctx8", "SHA-256 context type"},
                      {"Height", "Block height type"},
                      {"jet::sha_256_ctx_8_init", "Initialize SHA-256 context"},
                      {"jet::sha_256_ctx_8_add_32", "Add 32 bytes to SHA-256 context"},
                      {"jet::sha_256_ctx_8_finalize", "Finalize SHA-256 hash"},
                      {"jet::bip_0340_verify", "Verify BIP-340 Schnorr signature"},
                      {"jet::sig_all_hash", "Get signature hash for all inputs"}});
  expect_entries(35, {{"jet::check_lock_height", "Check if height lock is satisfied"},
                      {"jet::check_lock_time", "Check if time lock is satisfied"},
                      {"jet::current_index", "Get current input index"},
                      {"jet::current_amount", "Get current input amount"},
                      {"jet::current_asset", "Get current input asset"},
                      {"jet::current_script_hash", "Get current script hash"}});
  expect_entries(53, {{"jet::and_256", "Bitwise AND on 256-bit values"},
                      {"jet::or_256", "Bitwise OR on 256-bit values"},
                      {"jet::xor_256", "Bitwise XOR on 256-bit values"},
                      {"jet::not_256", "Bitwise NOT on 256-bit value"},
                      {"jet::shift_left_256", "Left shift 256-bit value"},
                      {"jet::shift_right_256", "Right shift 256-bit value"},
                      {"witness::", "Access witness module"},
                      {"param::", "Access parameter module"},
                      {"0x", "Hexadecimal number prefix"},
                      {"[u8; 32]", "32-byte array type"},
                      {"[u8; 64]", "64-byte array type"},
                      {"[u8; 16]", "16-byte array type"},
                      {"pubkey", "Public key variable"},
                      {"signature", "Signature variable"},
                      {"hash", "Hash variable"},
                      {"preimage", "Hash preimage variable"},
                      {"timeout", "Timeout variable"},
                      {"amount", "Amount variable"},
                      {"-> u256", "Return type: 256-bit unsigned integer"},
                      {"-> bool", "Return type: boolean"},
                      {"-> ()", "Return type: unit (void)"}});
}

// Four groups repeat one pattern over the widths 256 down to 8 bits.
TEST(CompletionCatalogue, WidthGroupsRunFromWidestToNarrowest) {
  const struct {
    std::size_t first;
    std::string label;   // "{}" stands for the width
    std::string detail;
  } groups[] = {
      {12, "u{}", "{}-bit unsigned integer type"},
      {29, "jet::eq_{}", "Compare two {}-bit values for equality"},
      {41, "jet::add_{}", "Add two {}-bit values"},
      {47, "jet::subtract_{}", "Subtract two {}-bit values"},
  };
  const auto fill = [](std::string pattern, int width) {
    return pattern.replace(pattern.find("{}"), 2, std::to_string(width));
  };
  for (const auto& group : groups) {
    std::size_t number = group.first;
    for (int width : {256, 128, 64, 32, 16, 8}) {
      expect_entries(number++, {{fill(group.label, width), fill(group.detail, width)}});
    }
  }
}

}  // namespace
