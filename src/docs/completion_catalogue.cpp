// The completion catalogue: one constant table, offered whole for every completion request.

#include "docs/completion_catalogue.h"

#include <array>

namespace tarnu::docs {
namespace {

// The reply lists the items exactly in this order, so the order here is part of the protocol output.
constexpr std::array catalogue = std::to_array<CompletionEntry>({
    // Keywords, the assertion macro and the entry point
    {"const", "variable keyword"},
    {"fn", "function keyword"},
    {"let", "variable keyword"},
    {"mod", "module keyword"},
    {"match", "pattern matching keyword"},
    {"assert!", "assertion macro"},
    {"main", "main function"},

    // Constructors of the sum types
    {"Left", "Either left variant"},
    {"Right", "Either right variant"},
    {"Some", "Option some variant"},
    {"None", "Option none variant"},

    // Unsigned integers, widest first
    {"u256", "256-bit unsigned integer type"},
    {"u128", "128-bit unsigned integer type"},
    {"u64", "64-bit unsigned integer type"},
    {"u32", "32-bit unsigned integer type"},
    {"u16", "16-bit unsigned integer type"},
    {"u8", "8-bit unsigned integer type"},

    // Other type names
    {"Either", "Either type for sum types"},
    {"Option", "Option type for nullable values"},
    {"Pubkey", "Bitcoin public key type"},
    {"Signature", "Digital signature type"},
    {"Ctx8", "SHA-256 context type"},
    {"Height", "Block height type"},

    // Hashing and signature jets
    {"jet::sha_256_ctx_8_init", "Initialize SHA-256 context"},
    {"jet::sha_256_ctx_8_add_32", "Add 32 bytes to SHA-256 context"},
    {"jet::sha_256_ctx_8_finalize", "Finalize SHA-256 hash"},
    {"jet::bip_0340_verify", "Verify BIP-340 Schnorr signature"},
    {"jet::sig_all_hash", "Get signature hash for all inputs"},

    // Equality jets
    {"jet::eq_256", "Compare two 256-bit values for equality"},
    {"jet::eq_128", "Compare two 128-bit values for equality"},
    {"jet::eq_64", "Compare two 64-bit values for equality"},
    {"jet::eq_32", "Compare two 32-bit values for equality"},
    {"jet::eq_16", "Compare two 16-bit values for equality"},
    {"jet::eq_8", "Compare two 8-bit values for equality"},

    // Time locks and current-input introspection
    {"jet::check_lock_height", "Check if height lock is satisfied"},
    {"jet::check_lock_time", "Check if time lock is satisfied"},
    {"jet::current_index", "Get current input index"},
    {"jet::current_amount", "Get current input amount"},
    {"jet::current_asset", "Get current input asset"},
    {"jet::current_script_hash", "Get current script hash"},

    // Addition jets
    {"jet::add_256", "Add two 256-bit values"},
    {"jet::add_128", "Add two 128-bit values"},
    {"jet::add_64", "Add two 64-bit values"},
    {"jet::add_32", "Add two 32-bit values"},
    {"jet::add_16", "Add two 16-bit values"},
    {"jet::add_8", "Add two 8-bit values"},

    // Subtraction jets
    {"jet::subtract_256", "Subtract two 256-bit values"},
    {"jet::subtract_128", "Subtract two 128-bit values"},
    {"jet::subtract_64", "Subtract two 64-bit values"},
    {"jet::subtract_32", "Subtract two 32-bit values"},
    {"jet::subtract_16", "Subtract two 16-bit values"},
    {"jet::subtract_8", "Subtract two 8-bit values"},

    // 256-bit bitwise and shift jets
    {"jet::and_256", "Bitwise AND on 256-bit values"},
    {"jet::or_256", "Bitwise OR on 256-bit values"},
    {"jet::xor_256", "Bitwise XOR on 256-bit values"},
    {"jet::not_256", "Bitwise NOT on 256-bit value"},
    {"jet::shift_left_256", "Left shift 256-bit value"},
    {"jet::shift_right_256", "Right shift 256-bit value"},

    // Module prefixes and the hexadecimal prefix
    {"witness::", "Access witness module"},
    {"param::", "Access parameter module"},
    {"0x", "Hexadecimal number prefix"},

    // Byte arrays: key and hash size, signature size, then the odd one out
    {"[u8; 32]", "32-byte array type"},
    {"[u8; 64]", "64-byte array type"},
    {"[u8; 16]", "16-byte array type"},

    // Conventional variable names
    {"pubkey", "Public key variable"},
    {"signature", "Signature variable"},
    {"hash", "Hash variable"},
    {"preimage", "Hash preimage variable"},
    {"timeout", "Timeout variable"},
    {"amount", "Amount variable"},

    // Return-type annotations
    {"-> u256", "Return type: 256-bit unsigned integer"},
    {"-> bool", "Return type: boolean"},
    {"-> ()", "Return type: unit (void)"},
});

static_assert(catalogue.size() == 73);

}  // namespace

std::span<const CompletionEntry> completion_catalogue() noexcept {
  return catalogue;
}

}  // namespace tarnu::docs
