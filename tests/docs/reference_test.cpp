// The exact-key lookup over the reference pages, the pages that are given word for word, and the promise
// that looking a page up allocates nothing.

#include "docs/reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <string_view>

namespace {
std::atomic<long> allocations{0};
}  // namespace

// Every allocation of this test program goes through here, so a lookup that builds a std::string (to trim,
// to lower-case, to copy a page) is counted.
void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace {

using tarnu::docs::general_reference_page;
using tarnu::docs::get_doc;

constexpr std::string_view let_page = R"page(# `let` - Variable Declaration

**Syntax:** `let name: Type = value;`

Declares a local variable with an explicit type annotation.

## Example
```simplicity
let msg: u256 = jet::sig_all_hash();
let hasher: Ctx8 = jet::sha_256_ctx_8_init();
let (preimage, sig): (u256, Signature) = data;
```

Variables are immutable by default in Simplicity, promoting safety in smart contracts.
)page";

constexpr std::string_view add_256_page = R"page(# `jet::add_256(a, b)` - 256-bit Addition

**Parameters:**
- `a: u256` - First operand
- `b: u256` - Second operand

**Returns:** `u256` - Sum of a and b

Performs addition on two 256-bit unsigned integers.

## Usage
```simplicity
let total: u256 = jet::add_256(amount1, amount2);
let incremented: u256 = jet::add_256(value, 1);
```

**Note:** Arithmetic operations in Simplicity are checked for overflow to ensure contract safety.
)page";

constexpr std::string_view u128_page = R"page(# `u128` - 128-bit Unsigned Integer

Represents a 128-bit unsigned integer type.

**Range:** 0 to 2¹²⁸ - 1

## Usage
```simplicity
let value: u128 = 340282366920938463463374607431768211455;
let result: u128 = jet::add_128(value1, value2);
```

Used for large numeric calculations that don't require the full 256-bit range.
)page";

constexpr std::string_view witness_page = R"page(# `witness::` - Witness Module Access

Access pattern for the witness module, which contains transaction witness data.

## Usage
```simplicity
mod witness {
  const COMPLETE_OR_CANCEL: Either<(u256, Signature), Signature> = ...;
}

fn main() {
  match witness::COMPLETE_OR_CANCEL {
    Left(data) => handle_complete(data),
    Right(sig) => handle_cancel(sig),
  }
}
```

Witness data is provided at transaction execution time.
)page";

constexpr std::string_view general_page = R"page(# Simplicity Language Reference

## Keywords
- **`const`** - Declares a constant value
- **`fn`** - Declares a function
- **`let`** - Declares a local variable
- **`mod`** - Declares a module
- **`match`** - Pattern matching expression
- **`assert!`** - Assertion macro for conditions
- **`main`** - Entry point function

## Control Flow Types
- **`Either<L, R>`** - Sum type with `Left(L)` and `Right(R)` variants
- **`Option<T>`** - Optional type with `Some(T)` and `None` variants

## Primitive Types
- **`u256`** - 256-bit unsigned integer (Bitcoin addresses, hashes)
- **`u128`** - 128-bit unsigned integer
- **`u64`** - 64-bit unsigned integer
- **`u32`** - 32-bit unsigned integer
- **`u16`** - 16-bit unsigned integer
- **`u8`** - 8-bit unsigned integer

## Bitcoin-Specific Types
- **`Pubkey`** - Bitcoin public key (32 bytes)
- **`Signature`** - Digital signature (64 bytes)
- **`Height`** - Block height for timelock operations
- **`Ctx8`** - SHA-256 hash context

## Array Types
- **`[u8; 32]`** - 32-byte array (public keys, hashes)
- **`[u8; 64]`** - 64-byte array (signatures)

## Jet Functions

### Cryptographic Operations
- **`jet::sha_256_ctx_8_init()`** - Initialize SHA-256 context
- **`jet::sha_256_ctx_8_add_32(ctx, data)`** - Add 32 bytes to hash context
- **`jet::sha_256_ctx_8_finalize(ctx)`** - Finalize hash and return digest
- **`jet::bip_0340_verify((pubkey, msg), sig)`** - Verify BIP-340 Schnorr signature
- **`jet::sig_all_hash()`** - Get signature hash for all transaction inputs

### Comparison Operations
- **`jet::eq_256(a, b)`** - Compare two 256-bit values for equality
- **`jet::eq_128(a, b)`** - Compare two 128-bit values for equality
- **`jet::eq_64(a, b)`** - Compare two 64-bit values for equality
- **`jet::eq_32(a, b)`** - Compare two 32-bit values for equality

### Bitcoin Operations
- **`jet::check_lock_height(height)`** - Verify block height timelock
- **`jet::check_lock_time(time)`** - Verify time-based timelock
- **`jet::current_index()`** - Get current transaction input index
- **`jet::current_amount()`** - Get current input amount
- **`jet::current_asset()`** - Get current input asset ID
- **`jet::current_script_hash()`** - Get current script hash

### Arithmetic Operations
- **`jet::add_256(a, b)`** - Add two 256-bit values
- **`jet::subtract_256(a, b)`** - Subtract two 256-bit values
- **`jet::multiply_256(a, b)`** - Multiply two 256-bit values

### Bitwise Operations
- **`jet::and_256(a, b)`** - Bitwise AND on 256-bit values
- **`jet::or_256(a, b)`** - Bitwise OR on 256-bit values
- **`jet::xor_256(a, b)`** - Bitwise XOR on 256-bit values
- **`jet::not_256(a)`** - Bitwise NOT on 256-bit value
- **`jet::shift_left_256(value, bits)`** - Left shift 256-bit value
- **`jet::shift_right_256(value, bits)`** - Right shift 256-bit value

## Common Patterns

### Module Structure
```simplicity
mod witness {
  const DATA: u256 = 0x1234...;
}

mod param {
  const PUBLIC_KEY: u256 = 0xabcd...;
}
```

### Function Signatures
```simplicity
fn function_name(param: Type) -> ReturnType {
  // function body
}
```

### Pattern Matching
```simplicity
match value {
  Left(data) => { /* handle left case */ },
  Right(data) => { /* handle right case */ },
}
```

### Hash Verification
```simplicity
fn verify_hash(preimage: u256, expected: u256) {
  let hash = sha2(preimage);
  assert!(jet::eq_256(hash, expected));
}
```

### Signature Verification
```simplicity
fn verify_signature(pubkey: Pubkey, signature: Signature) {
  let msg = jet::sig_all_hash();
  jet::bip_0340_verify((pubkey, msg), signature);
}
```

## Tips
- Use hexadecimal literals with `0x` prefix for addresses and hashes
- Always verify signatures and hashes in smart contracts
- Use timelocks for escrow and payment channel contracts
- Pattern match on `Either` types for conditional logic
)page";

std::size_t line_count(std::string_view text) { return static_cast<std::size_t>(std::ranges::count(text, '\n')); }

std::size_t code_points(std::string_view text) {
  return static_cast<std::size_t>(
      std::ranges::count_if(text, [](char c) { return (static_cast<unsigned char>(c) & 0xc0) != 0x80; }));
}

TEST(FullPages, AreServedByteForByte) {
  const struct {
    std::string_view key;
    std::string_view page;
    std::size_t bytes;
    std::size_t lines;
  } pages[] = {
      {"let", let_page, 379, 14},
      {"jet::add_256", add_256_page, 432, 17},
      {"u128", u128_page, 327, 13},
      {"witness::", witness_page, 428, 19},
  };
  for (const auto& [key, page, bytes, lines] : pages) {
    SCOPED_TRACE(key);
    // The sizes guard the expected texts above against an editor that re-indents or strips them.
    ASSERT_EQ(page.size(), bytes);
    ASSERT_EQ(line_count(page), lines);
    EXPECT_EQ(get_doc(key), page);
  }
  EXPECT_EQ(code_points(u128_page), 323u) << "the superscripts are multi-byte UTF-8";
}

TEST(FullPages, GeneralPageIsServedByteForByte) {
  ASSERT_EQ(general_page.size(), 3822u);
  ASSERT_EQ(line_count(general_page), 118u);
  EXPECT_EQ(general_reference_page(), general_page);
  EXPECT_TRUE(std::ranges::all_of(general_reference_page(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
      << "the general page is plain ASCII";
}

TEST(GetDoc, FindsEveryKindOfKeyExactly) {
  // One key of each kind, with the punctuation the construct has in source text.
  for (std::string_view key : {"fn", "assert!", "jet::sha_256_ctx_8_finalize", "Option", "Either", "Ctx8", "u8",
                               "Some", "None", "witness::", "param::", "0x"}) {
    const auto page = get_doc(key);
    ASSERT_TRUE(page.has_value()) << key;
    // The title shows the key in a code span, possibly with parameters after it (`Either<L, R>`).
    EXPECT_TRUE(page->starts_with("# `" + std::string(key))) << key;
  }
}

TEST(GetDoc, YieldsNothingForWordsThatAreNotKeys) {
  const std::string_view not_keys[] = {
      // empty and whitespace
      "", " ", "\n", " let", "let ", "let\n", "\tfn",
      // case matters
      "option", "some", "none", "NONE", "Fn", "LET", "U256", "pubkey", "signature", "0X",
      // the assertion macro needs its mark, prefixes need both colons
      "assert", "witness", "param", "witness:", "param:", "witness::COMPLETE_OR_CANCEL", "param::EXPECTED_HASH",
      // jets only under their full name
      "add_256", "jet::add_25", "jet::add_2567", "jet::", "jet:add_256", "jet::ADD_256", "jet::add_128",
      // title forms are not keys
      "Either<L, R>", "Option<T>", "Some(value)", "jet::add_256(a, b)", "`let`",
      // named on the general page, but without a page of their own
      "main", "[u8; 32]", "[u8; 64]", "jet::xor_256", "jet::eq_64", "jet::check_lock_time", "jet::multiply_256",
      "bool",
      // a key followed by a NUL byte is a different word
      std::string_view("let\0", 4),
      // neighbours of keys in byte order, for a search that settles for the nearest key
      "/", "0w", "0y", "Ctx7", "Ctx9", "Left!", "Righ", "u1", "u255", "u257", "~",
      // not Simplicity at all
      "0", "x", "::", "Ünicode", "\xff\xfe",
  };
  for (std::string_view word : not_keys) {
    EXPECT_EQ(get_doc(word), std::nullopt) << "\"" << word << "\" (" << word.size() << " bytes)";
  }
}

TEST(GetDoc, ReturnsViewsOfTheSameConstantText) {
  const auto first = get_doc("let");
  const auto again = get_doc(std::string("let"));
  ASSERT_TRUE(first && again);
  EXPECT_EQ(first->data(), again->data()) << "each call must see the one constant page, not a copy";
  EXPECT_EQ(general_reference_page().data(), general_reference_page().data());
}

TEST(GetDoc, AllocatesNothing) {
  const std::string words[] = {"let", "jet::add_256", "0x", "", "option", " let", "main", std::string(4096, 'x')};
  const long before = allocations.load();
  std::size_t found = 0;
  for (const auto& word : words) {
    found += get_doc(word).has_value() ? 1 : 0;
  }
  found += general_reference_page().size() > 0 ? 1 : 0;
  const long after = allocations.load();
  EXPECT_EQ(after - before, 0);
  EXPECT_EQ(found, 4u);
}

}  // namespace
