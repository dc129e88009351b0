// Holds every reference page to the page template: the layout rules every page shares, and for each key the
// first line, the description and the exact lines of its Syntax, Parameters, Returns, Range and Variants
// blocks, with its blocks in order. Code examples and free-form lists are checked for their form only.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "docs/reference.h"

namespace {

using Lines = std::vector<std::string_view>;

enum class Block {
  Syntax,
  Parameters,
  Returns,
  Range,
  Paragraph,  // the description, or a closing sentence
  Example,
  Usage,
  Variants,
  CommonModuleTypes,
  CommonUses,
  UsageInSmartContracts,
  LabelledRemark,    // "**Note:** ...", "**Security:** ..."
  UseCases,          // "**Use Cases:**" and a plain list
  SentenceThenList,  // a sentence directly followed by a plain list
};

const char* name(Block block) {
  switch (block) {
    case Block::Syntax: return "Syntax";
    case Block::Parameters: return "Parameters";
    case Block::Returns: return "Returns";
    case Block::Range: return "Range";
    case Block::Paragraph: return "Paragraph";
    case Block::Example: return "Example";
    case Block::Usage: return "Usage";
    case Block::Variants: return "Variants";
    case Block::CommonModuleTypes: return "Common Module Types";
    case Block::CommonUses: return "Common Uses";
    case Block::UsageInSmartContracts: return "Usage in Smart Contracts";
    case Block::LabelledRemark: return "Labelled remark";
    case Block::UseCases: return "Use Cases";
    case Block::SentenceThenList: return "Sentence then list";
  }
  return "?";
}

// What one block of a page must be. `lines` holds the block's exact lines where the page table gives them;
// `items` the number of list items where only that is fixed; `label` the bold label of a closing remark.
struct Expected {
  Block block;
  std::vector<std::string> lines;
  std::size_t items = 0;
  std::string label;
  std::vector<std::string> item_names;  // bold code names of a Common Module Types list
};

Expected exact(Block block, std::vector<std::string> lines) { return {block, std::move(lines)}; }
Expected syntax(std::string line) { return exact(Block::Syntax, {std::move(line)}); }
Expected returns(std::string line) { return exact(Block::Returns, {std::move(line)}); }
Expected range(std::string line) { return exact(Block::Range, {std::move(line)}); }
Expected description(std::string text) { return exact(Block::Paragraph, {std::move(text)}); }
Expected parameters(std::vector<std::string> items) {
  items.insert(items.begin(), "**Parameters:**");
  return exact(Block::Parameters, std::move(items));
}
Expected variants(std::vector<std::string> items) {
  items.insert(items.begin(), "## Variants");
  return exact(Block::Variants, std::move(items));
}
Expected example() { return {Block::Example}; }
Expected usage() { return {Block::Usage}; }
Expected sentence() { return {Block::Paragraph}; }
Expected remark(std::string label) { return {Block::LabelledRemark, {}, 0, std::move(label)}; }
Expected use_cases(std::size_t items) { return {Block::UseCases, {}, items}; }
Expected sentence_then_list(std::size_t items) { return {Block::SentenceThenList, {}, items}; }
Expected common_uses(std::size_t items) { return {Block::CommonUses, {}, items}; }
Expected usage_in_smart_contracts(std::size_t items) { return {Block::UsageInSmartContracts, {}, items}; }
Expected common_module_types(std::vector<std::string> names) {
  return {Block::CommonModuleTypes, {}, names.size(), {}, std::move(names)};
}

struct PageRow {
  std::string key;
  std::string first_line;
  std::vector<Expected> blocks;
};

void PrintTo(const PageRow& row, std::ostream* out) { *out << row.key; }

std::vector<Expected> jet_blocks(std::optional<std::vector<std::string>> params, std::optional<std::string> result,
                                 std::string text, Expected closing) {
  std::vector<Expected> blocks;
  if (params) blocks.push_back(parameters(*params));
  if (result) blocks.push_back(returns(*result));
  blocks.push_back(description(std::move(text)));
  blocks.push_back(usage());
  blocks.push_back(std::move(closing));
  return blocks;
}

std::vector<Expected> integer_blocks(std::string text, std::string range_line) {
  return {description(std::move(text)), range(std::move(range_line)), usage(), sentence()};
}

std::vector<Expected> simple_blocks(std::string text, Expected closing = sentence()) {
  return {description(std::move(text)), usage(), std::move(closing)};
}

const std::vector<PageRow>& page_table() {
  static const std::vector<PageRow> rows = {
      // Keywords
      {"fn", "# `fn` - Function Declaration",
       {syntax("**Syntax:** `fn name(param: Type) -> ReturnType { ... }`"),
        description("Declares a function with parameters and return type."), example(), sentence()}},
      {"let", "# `let` - Variable Declaration",
       {syntax("**Syntax:** `let name: Type = value;`"),
        description("Declares a local variable with an explicit type annotation."), example(), sentence()}},
      {"const", "# `const` - Constant Declaration",
       {syntax("**Syntax:** `const NAME: Type = value;`"),
        description("Declares a compile-time constant value that cannot be changed."), example(),
        sentence_then_list(4)}},
      {"mod", "# `mod` - Module Declaration",
       {syntax("**Syntax:** `mod name { ... }`"),
        description("Declares a module to organize code and data into logical groups."), example(),
        common_module_types({"witness", "param"}), sentence()}},
      {"match", "# `match` - Pattern Matching",
       {syntax("**Syntax:** `match expression { pattern => body, ... }`"),
        description("Pattern matching for handling different cases, especially with `Either` and `Option` types."),
        example(), sentence()}},
      {"assert!", "# `assert!` - Assertion Macro",
       {syntax("**Syntax:** `assert!(condition);`"),
        description("Asserts that a boolean condition is true. If false, the contract execution fails."), example(),
        usage_in_smart_contracts(3), remark("Critical")}},

      // Jets
      {"jet::add_256", "# `jet::add_256(a, b)` - 256-bit Addition",
       jet_blocks(std::vector<std::string>{"- `a: u256` - First operand", "- `b: u256` - Second operand"},
                  "**Returns:** `u256` - Sum of a and b", "Performs addition on two 256-bit unsigned integers.",
                  remark("Note"))},
      {"jet::subtract_256", "# `jet::subtract_256(a, b)` - 256-bit Subtraction",
       jet_blocks(std::vector<std::string>{"- `a: u256` - Minuend (number to subtract from)",
                                           "- `b: u256` - Subtrahend (number to subtract)"},
                  "**Returns:** `u256` - Difference (a - b)",
                  "Performs subtraction on two 256-bit unsigned integers.", remark("Note"))},
      {"jet::and_256", "# `jet::and_256(a, b)` - 256-bit Bitwise AND",
       jet_blocks(std::vector<std::string>{"- `a: u256` - First operand", "- `b: u256` - Second operand"},
                  "**Returns:** `u256` - Bitwise AND result", "Performs bitwise AND operation on two 256-bit values.",
                  sentence())},
      {"jet::or_256", "# `jet::or_256(a, b)` - 256-bit Bitwise OR",
       jet_blocks(std::vector<std::string>{"- `a: u256` - First operand", "- `b: u256` - Second operand"},
                  "**Returns:** `u256` - Bitwise OR result", "Performs bitwise OR operation on two 256-bit values.",
                  sentence())},
      {"jet::eq_256", "# `jet::eq_256(a, b)` - 256-bit Equality Comparison",
       jet_blocks(std::vector<std::string>{"- `a: u256` - First value", "- `b: u256` - Second value"},
                  "**Returns:** `bool` - True if values are equal", "Compares two 256-bit values for exact equality.",
                  sentence())},
      {"jet::sig_all_hash", "# `jet::sig_all_hash()` - Get Signature Hash",
       jet_blocks(std::nullopt, "**Returns:** `u256` - Transaction signature hash",
                  "Returns the signature hash for all transaction inputs (SIGHASH_ALL).", remark("Important"))},
      {"jet::bip_0340_verify", "# `jet::bip_0340_verify((pubkey, msg), signature)` - Verify BIP-340 Signature",
       jet_blocks(std::vector<std::string>{"- `(pubkey, msg): (Pubkey, u256)` - Public key and message hash",
                                           "- `signature: Signature` - Signature to verify"},
                  std::nullopt, "Verifies a BIP-340 Schnorr signature against a public key and message.",
                  remark("Security"))},
      {"jet::check_lock_height", "# `jet::check_lock_height(height)` - Verify Block Height Timelock",
       jet_blocks(std::vector<std::string>{"- `height: Height` - Required block height"}, std::nullopt,
                  "Verifies that the current block height meets or exceeds the specified timelock height.",
                  use_cases(3))},
      {"jet::sha_256_ctx_8_init", "# `jet::sha_256_ctx_8_init()` - Initialize SHA-256 Context",
       jet_blocks(std::nullopt, "**Returns:** `Ctx8` - SHA-256 hash context",
                  "Initializes a new SHA-256 hashing context for incremental hashing.", sentence())},
      {"jet::sha_256_ctx_8_add_32", "# `jet::sha_256_ctx_8_add_32(ctx, data)` - Add Data to SHA-256 Context",
       jet_blocks(std::vector<std::string>{"- `ctx: Ctx8` - Current hash context",
                                           "- `data: u256` - 32 bytes of data to add to hash"},
                  "**Returns:** `Ctx8` - Updated hash context",
                  "Adds 32 bytes of data to an existing SHA-256 hash context.", sentence())},
      {"jet::sha_256_ctx_8_finalize", "# `jet::sha_256_ctx_8_finalize(ctx)` - Finalize SHA-256 Hash",
       jet_blocks(std::vector<std::string>{"- `ctx: Ctx8` - Hash context to finalize"},
                  "**Returns:** `u256` - Final SHA-256 hash digest",
                  "Finalizes a SHA-256 hash context and returns the computed hash.", remark("Security"))},

      // Types
      {"u8", "# `u8` - 8-bit Unsigned Integer",
       integer_blocks("Standard 8-bit unsigned integer type (byte).", "**Range:** 0 to 255")},
      {"u16", "# `u16` - 16-bit Unsigned Integer",
       integer_blocks("Standard 16-bit unsigned integer type.", "**Range:** 0 to 65,535")},
      {"u32", "# `u32` - 32-bit Unsigned Integer",
       integer_blocks("Standard 32-bit unsigned integer type.", "**Range:** 0 to 4,294,967,295")},
      {"u64", "# `u64` - 64-bit Unsigned Integer",
       integer_blocks("Standard 64-bit unsigned integer type.", "**Range:** 0 to 18,446,744,073,709,551,615")},
      {"u128", "# `u128` - 128-bit Unsigned Integer",
       integer_blocks("Represents a 128-bit unsigned integer type.", "**Range:** 0 to 2¹²⁸ - 1")},
      {"u256", "# `u256` - 256-bit Unsigned Integer",
       {description("The primary integer type in Simplicity, representing 256-bit unsigned integers."),
        common_uses(4), example(), range("**Range:** 0 to 2²⁵⁶ - 1 (approximately 1.16 × 10⁷⁷)")}},
      {"Pubkey", "# `Pubkey` - Bitcoin Public Key",
       simple_blocks("Represents a Bitcoin public key (32 bytes) used for signature verification.")},
      {"Signature", "# `Signature` - Digital Signature",
       simple_blocks("Represents a digital signature (64 bytes) for cryptographic verification.")},
      {"Height", "# `Height` - Block Height Type",
       simple_blocks("Represents a Bitcoin block height for timelock operations.")},
      {"Ctx8", "# `Ctx8` - SHA-256 Hash Context",
       simple_blocks("Represents a SHA-256 hashing context for incremental hash computation.")},
      {"Option", "# `Option<T>` - Optional Value Type",
       {description("Represents a value that may or may not be present."),
        variants({"- **`Some(value)`** - Contains a value of type T", "- **`None`** - No value present"}), usage(),
        sentence()}},
      {"Either", "# `Either<L, R>` - Sum Type",
       {description("Represents a value that can be one of two types: `Left(L)` or `Right(R)`."),
        variants({"- **`Left(value)`** - Contains a value of type L", "- **`Right(value)`** - Contains a value of type R"}),
        example(), sentence()}},

      // Variants
      {"Some", "# `Some(value)` - Option Variant", simple_blocks("The variant of `Option<T>` that contains a value.")},
      {"None", "# `None` - Option Variant", simple_blocks("The variant of `Option<T>` that represents no value.")},
      {"Left", "# `Left(value)` - Either Variant",
       simple_blocks("The left variant of `Either<L, R>` type, containing a value of type L.")},
      {"Right", "# `Right(value)` - Either Variant",
       simple_blocks("The right variant of `Either<L, R>` type, containing a value of type R.")},

      // Prefixes
      {"witness::", "# `witness::` - Witness Module Access",
       simple_blocks("Access pattern for the witness module, which contains transaction witness data.")},
      {"param::", "# `param::` - Parameter Module Access",
       simple_blocks("Access pattern for the parameter module, which contains compile-time constants.")},
      {"0x", "# `0x` - Hexadecimal Literal Prefix",
       simple_blocks("Prefix for hexadecimal number literals in Simplicity.", remark("Common in Bitcoin"))},
  };
  return rows;
}

// ---- Reading a page -------------------------------------------------------------------------------------

Lines split_lines(std::string_view page) {
  Lines lines;
  while (!page.empty()) {
    const auto end = page.find('\n');
    if (end == std::string_view::npos) {
      lines.push_back(page);  // an unterminated last line; the layout check reports it
      break;
    }
    lines.push_back(page.substr(0, end));
    page.remove_prefix(end + 1);
  }
  return lines;
}

bool is_fence(std::string_view line) { return line.starts_with("```"); }

// The blocks after the title and its empty line. An empty line inside a fenced block belongs to the block.
// An empty block in the result means two empty lines in a row, which the template forbids.
std::vector<Lines> split_blocks(const Lines& lines) {
  std::vector<Lines> blocks(1);
  bool in_fence = false;
  for (std::size_t i = 2; i < lines.size(); ++i) {
    if (!in_fence && lines[i].empty()) {
      blocks.emplace_back();
      continue;
    }
    if (is_fence(lines[i])) in_fence = !in_fence;
    blocks.back().push_back(lines[i]);
  }
  return blocks;
}

bool matches(std::string_view line, const std::regex& form) {
  return std::regex_match(line.begin(), line.end(), form);
}

bool valid_utf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xe ? 3 : (lead >> 3) == 0x1e ? 4 : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xc0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

const std::regex plain_item{R"(- [^*\s].*)"};
const std::regex bold_code_item{R"(- \*\*`[^`]+`\*\* - \S.*)"};
const std::regex bold_text_item{R"(- \*\*[^`*\s][^*]*\*\* - \S.*)"};
const std::regex parameter_item{R"(- `[^`:]+: [^`]+` - \S.*)"};

bool all_items(const Lines& block, std::size_t from, const std::regex& form) {
  return block.size() > from && std::all_of(block.begin() + static_cast<std::ptrdiff_t>(from), block.end(),
                                            [&](std::string_view line) { return matches(line, form); });
}

// A fenced Simplicity block right under its heading, with at least one line of code and no stray fence.
bool is_headed_code(const Lines& block) {
  return block.size() >= 4 && block[1] == "```simplicity" && block.back() == "```" &&
         std::none_of(block.begin() + 2, block.end() - 1, is_fence) &&
         std::any_of(block.begin() + 2, block.end() - 1, [](std::string_view line) { return !line.empty(); });
}

struct Classified {
  std::optional<Block> block;
  std::string label;  // for a labelled remark
};

// Names a block by its form; nothing when it fits none of the template's forms.
Classified classify(const Lines& block) {
  static const std::regex syntax_line{R"(\*\*Syntax:\*\* `[^`]+`)"};
  static const std::regex returns_line{R"(\*\*Returns:\*\* `[^`]+` - \S.*)"};
  static const std::regex range_line{R"(\*\*Range:\*\* \S.*)"};
  static const std::regex remark_line{R"(\*\*(Note|Important|Security|Critical|Common in Bitcoin):\*\* \S.*)"};
  static const std::regex paragraph_line{R"([^#\-*`\s].*|`.*)"};

  if (block.empty()) return {};
  const std::string_view head = block.front();
  const bool single = block.size() == 1;
  if (single && matches(head, syntax_line)) return {Block::Syntax};
  if (single && matches(head, returns_line)) return {Block::Returns};
  if (single && matches(head, range_line)) return {Block::Range};
  if (head == "**Parameters:**" && all_items(block, 1, parameter_item)) return {Block::Parameters};
  if (head == "## Example" && is_headed_code(block)) return {Block::Example};
  if (head == "## Usage" && is_headed_code(block)) return {Block::Usage};
  if (head == "## Variants" && all_items(block, 1, bold_code_item)) return {Block::Variants};
  if (head == "## Common Module Types" && all_items(block, 1, bold_code_item)) return {Block::CommonModuleTypes};
  if (head == "## Common Uses" && all_items(block, 1, bold_text_item)) return {Block::CommonUses};
  if (head == "## Usage in Smart Contracts" && all_items(block, 1, bold_text_item)) {
    return {Block::UsageInSmartContracts};
  }
  if (head == "**Use Cases:**" && all_items(block, 1, plain_item)) return {Block::UseCases};
  std::match_results<std::string_view::const_iterator> remark;
  if (single && std::regex_match(head.begin(), head.end(), remark, remark_line)) {
    return {Block::LabelledRemark, remark[1].str()};
  }
  if (matches(head, paragraph_line) && !is_fence(head)) {
    if (single) return {Block::Paragraph};
    if (all_items(block, 1, plain_item)) return {Block::SentenceThenList};
  }
  return {};
}

std::string show(const Lines& block) {
  std::string text;
  for (auto line : block) text.append(line).append("\n");
  return text;
}

// One sentence: ends with a full stop, and no full stop inside is followed by a new sentence.
bool one_sentence(std::string_view line) {
  static const std::regex inner_break{R"(\. [A-Z])"};
  return line.ends_with('.') && !std::regex_search(line.begin(), line.end(), inner_break);
}

std::string code_of(const std::vector<Lines>& blocks) {
  std::string code;
  for (const auto& block : blocks) {
    if (block.size() >= 2 && block[1] == "```simplicity") {
      for (std::size_t i = 2; i + 1 < block.size(); ++i) code.append(block[i]).append("\n");
    }
  }
  return code;
}

// ---- The checks -----------------------------------------------------------------------------------------

void expect_plain_layout(std::string_view page) {
  EXPECT_TRUE(valid_utf8(page));
  EXPECT_EQ(page.find('\r'), std::string_view::npos) << "carriage return";
  EXPECT_EQ(page.find('\t'), std::string_view::npos) << "tab";
  ASSERT_TRUE(page.ends_with('\n')) << "the last line must end with a line feed";
  EXPECT_FALSE(page.ends_with("\n\n")) << "empty line at the end";
  for (auto line : split_lines(page)) {
    EXPECT_FALSE(line.ends_with(' ')) << "trailing space in: " << line;
  }
}

void expect_title(std::string_view line) {
  static const std::regex title_form{R"(# `[^`]+` - (\S.*))"};
  std::match_results<std::string_view::const_iterator> title;
  ASSERT_TRUE(std::regex_match(line.begin(), line.end(), title, title_form)) << line;
  static const std::set<std::string, std::less<>> small_words = {"a", "an", "and", "for", "in", "of", "the", "to"};
  std::istringstream words(title[1].str());
  for (std::string word; words >> word;) {
    const auto first = static_cast<unsigned char>(word.front());
    EXPECT_TRUE(std::isupper(first) || std::isdigit(first) || small_words.contains(word))
        << "\"" << word << "\" breaks the title case of: " << line;
  }
}

void expect_block(const Lines& actual, const Expected& expected, std::size_t index) {
  SCOPED_TRACE("block " + std::to_string(index + 1) + ":\n" + show(actual));
  const Classified form = classify(actual);
  ASSERT_TRUE(form.block.has_value()) << "fits none of the template's block forms";
  ASSERT_EQ(name(*form.block), std::string(name(expected.block)));
  if (!expected.lines.empty()) {
    EXPECT_EQ(Lines(expected.lines.begin(), expected.lines.end()), actual);
  }
  switch (expected.block) {
    case Block::Paragraph:
      if (expected.lines.empty()) {
        EXPECT_TRUE(one_sentence(actual.front())) << "a closing is one sentence";
      }
      break;
    case Block::LabelledRemark:
      EXPECT_EQ(form.label, expected.label);
      break;
    case Block::UseCases:
    case Block::SentenceThenList:
    case Block::CommonUses:
    case Block::UsageInSmartContracts:
    case Block::CommonModuleTypes:
      EXPECT_EQ(actual.size() - 1, expected.items) << "list items";
      break;
    default:
      break;
  }
  for (std::size_t i = 0; i < expected.item_names.size() && i + 1 < actual.size(); ++i) {
    EXPECT_TRUE(actual[i + 1].starts_with("- **`" + expected.item_names[i] + "`**")) << actual[i + 1];
  }
}

// A 256-bit value is written with 64 lower-case digits; the hexadecimal page also shows a 64-byte signature,
// and the parameter page abbreviates values to six digits and an ellipsis.
void expect_hex_literals(const std::string& key, const std::string& code) {
  static const std::regex literal{R"(\b0[xX]([0-9A-Za-z]*)(\.\.\.)?)"};
  for (auto it = std::sregex_iterator(code.begin(), code.end(), literal); it != std::sregex_iterator(); ++it) {
    const std::string digits = (*it)[1];
    const bool abbreviated = (*it)[2].matched;
    SCOPED_TRACE("literal " + it->str());
    EXPECT_EQ(it->str().substr(0, 2), "0x");
    EXPECT_TRUE(std::all_of(digits.begin(), digits.end(), [](char c) { return std::isdigit(c) || (c >= 'a' && c <= 'f'); }))
        << "digits must be lower-case hexadecimal";
    if (key == "param::") {
      EXPECT_TRUE(abbreviated && digits.size() == 6);
    } else if (key == "0x") {
      EXPECT_TRUE(!abbreviated && (digits.size() == 64 || digits.size() == 128));
    } else {
      EXPECT_TRUE(!abbreviated && digits.size() == 64);
    }
  }
}

void expect_balanced_brackets(const std::string& code) {
  std::string open;
  for (char c : code) {
    if (c == '(' || c == '[' || c == '{') {
      open.push_back(c);
    } else if (c == ')' || c == ']' || c == '}') {
      const char expected = c == ')' ? '(' : c == ']' ? '[' : '{';
      ASSERT_FALSE(open.empty() || open.back() != expected) << "unbalanced '" << c << "' in:\n" << code;
      open.pop_back();
    }
  }
  EXPECT_TRUE(open.empty()) << "unclosed brackets in:\n" << code;
}

class PageTemplate : public testing::TestWithParam<PageRow> {};

TEST_P(PageTemplate, FollowsTheTemplateAndTheTable) {
  const PageRow& row = GetParam();
  const auto page = tarnu::docs::get_doc(row.key);
  ASSERT_TRUE(page.has_value()) << "no page for " << row.key;

  expect_plain_layout(*page);
  const Lines lines = split_lines(*page);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], row.first_line);
  expect_title(lines[0]);
  EXPECT_EQ(lines[1], "") << "the title is followed by one empty line";

  const std::vector<Lines> blocks = split_blocks(lines);
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    ASSERT_FALSE(blocks[i].empty()) << "more than one empty line before block " << i + 1;
  }
  std::vector<std::string> actual_order;
  std::vector<std::string> expected_order;
  for (const auto& block : blocks) {
    const auto form = classify(block).block;
    actual_order.push_back(form ? name(*form) : "(no template form)");
  }
  for (const auto& expected : row.blocks) expected_order.push_back(name(expected.block));
  ASSERT_EQ(actual_order, expected_order) << "blocks in the wrong order, or a block of the wrong form";
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    expect_block(blocks[i], row.blocks[i], i);
  }

  // The examples must show the construct in use: a jet page shows the call itself.
  const std::string code = code_of(blocks);
  const std::string shown = row.key.starts_with("jet::") ? row.key + "(" : row.key;
  EXPECT_NE(code.find(shown), std::string::npos) << "the example never uses " << shown;
  expect_hex_literals(row.key, code);
  expect_balanced_brackets(code);
}

INSTANTIATE_TEST_SUITE_P(AllPages, PageTemplate, testing::ValuesIn(page_table()),
                         [](const testing::TestParamInfo<PageRow>& info) {
                           std::string name;
                           for (char c : info.param.key) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name + "_" + std::to_string(info.index);
                         });

TEST(PageTable, HasThirtySixDistinctKeysAndNoSharedPage) {
  const auto& rows = page_table();
  ASSERT_EQ(rows.size(), 36u);
  std::set<std::string_view> keys;
  std::set<std::string_view> pages;
  for (const auto& row : rows) {
    EXPECT_TRUE(keys.insert(row.key).second) << "key listed twice: " << row.key;
    const auto page = tarnu::docs::get_doc(row.key);
    ASSERT_TRUE(page.has_value()) << row.key;
    EXPECT_TRUE(pages.insert(*page).second) << "page shared with another key: " << row.key;
    EXPECT_NE(*page, tarnu::docs::general_reference_page());
  }
}

// The Markdown files are the source of the embedded text: each one must be served, unchanged, by exactly one
// key or as the general page, so a file that the table forgot (or a stale embedding) shows up here.
TEST(PageTable, EveryPageFileIsServedAsWritten) {
  const std::filesystem::path folder = std::filesystem::path(TARNU_SOURCE_DIR) / "src" / "docs" / "pages";
  std::vector<std::string_view> served{tarnu::docs::general_reference_page()};
  for (const auto& row : page_table()) served.push_back(*tarnu::docs::get_doc(row.key));

  std::size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() != ".md") continue;
    ++files;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(std::count(served.begin(), served.end(), text), 1) << entry.path().filename();
  }
  EXPECT_EQ(files, served.size());
}

// The checker itself must reject what the template forbids, or the table above proves nothing.
TEST(PageTemplateChecker, RejectsBlocksThatBreakTheTemplate) {
  const struct {
    const char* why;
    Lines block;
  } broken[] = {
      {"heading separated from its code", {"## Usage"}},
      {"fence without the language", {"## Usage", "```", "let a: u8 = 1;", "```"}},
      {"fence never closed", {"## Example", "```simplicity", "let a: u8 = 1;"}},
      {"empty code", {"## Example", "```simplicity", "```"}},
      {"variant name not bold code", {"## Variants", "- **Some(value)** - Contains a value"}},
      {"common use not bold", {"## Common Uses", "- Hashes - digests"}},
      {"use case in bold", {"**Use Cases:**", "- **Refunds** - after a timeout"}},
      {"parameter without a type", {"**Parameters:**", "- `a` - First operand"}},
      {"returns without a description", {"**Returns:** `u256`"}},
      {"syntax without a code span", {"**Syntax:** let name = value;"}},
      {"unknown label", {"**Warning:** Careful."}},
      {"heading as a paragraph", {"# Title"}},
  };
  for (const auto& [why, block] : broken) {
    EXPECT_FALSE(classify(block).block.has_value()) << why;
  }
  EXPECT_FALSE(one_sentence("Two sentences. Not one."));
  EXPECT_FALSE(one_sentence("No full stop"));
  EXPECT_TRUE(split_blocks({"# t", "", "a", "", "", "b"})[1].empty()) << "a double empty line must show";
}

}  // namespace
