// The reference page table: which key shows which embedded page, and the exact-key lookup over it.

#include "docs/reference.h"

#include <algorithm>
#include <array>
#include <functional>

#include "docs/embedded_pages.h"

namespace tarnu::docs {
namespace {

struct Entry {
  std::string_view key;
  std::string_view page;
};

// Listed by kind for the reader; the lookup needs them sorted by key bytes, which `sorted` does at compile
// time so that adding a page never means finding its alphabetical place by hand.
constexpr std::array by_kind = std::to_array<Entry>({
    // Keywords
    {"fn", pages::page_fn},
    {"let", pages::page_let},
    {"const", pages::page_const},
    {"mod", pages::page_mod},
    {"match", pages::page_match},
    {"assert!", pages::page_assert},
    // Jets
    {"jet::add_256", pages::page_jet_add_256},
    {"jet::subtract_256", pages::page_jet_subtract_256},
    {"jet::and_256", pages::page_jet_and_256},
    {"jet::or_256", pages::page_jet_or_256},
    {"jet::eq_256", pages::page_jet_eq_256},
    {"jet::sig_all_hash", pages::page_jet_sig_all_hash},
    {"jet::bip_0340_verify", pages::page_jet_bip_0340_verify},
    {"jet::check_lock_height", pages::page_jet_check_lock_height},
    {"jet::sha_256_ctx_8_init", pages::page_jet_sha_256_ctx_8_init},
    {"jet::sha_256_ctx_8_add_32", pages::page_jet_sha_256_ctx_8_add_32},
    {"jet::sha_256_ctx_8_finalize", pages::page_jet_sha_256_ctx_8_finalize},
    // Types
    {"u8", pages::page_u8},
    {"u16", pages::page_u16},
    {"u32", pages::page_u32},
    {"u64", pages::page_u64},
    {"u128", pages::page_u128},
    {"u256", pages::page_u256},
    {"Pubkey", pages::page_Pubkey},
    {"Signature", pages::page_Signature},
    {"Height", pages::page_Height},
    {"Ctx8", pages::page_Ctx8},
    {"Option", pages::page_Option},
    {"Either", pages::page_Either},
    // Variants
    {"Some", pages::page_Some},
    {"None", pages::page_None},
    {"Left", pages::page_Left},
    {"Right", pages::page_Right},
    // Prefixes
    {"witness::", pages::page_witness},
    {"param::", pages::page_param},
    {"0x", pages::page_hex_prefix},
});

constexpr auto sorted(std::array<Entry, by_kind.size()> entries) {
  std::ranges::sort(entries, std::less<>{}, &Entry::key);
  return entries;
}

constexpr auto entries = sorted(by_kind);

// Two rows with one key would make the lookup's answer depend on where the search lands.
static_assert(std::ranges::adjacent_find(entries, std::ranges::equal_to{}, &Entry::key) == entries.end(),
              "reference keys must be distinct");

}  // namespace

std::optional<std::string_view> get_doc(std::string_view word) noexcept {
  const auto found = std::ranges::lower_bound(entries, word, std::less<>{}, &Entry::key);
  if (found == entries.end() || found->key != word) {
    return std::nullopt;
  }
  return found->page;
}

std::string_view general_reference_page() noexcept {
  return pages::page_general;
}

}  // namespace tarnu::docs
