// The fixed list of completion entries offered for every completion request, in the order editors show them.
#pragma once

#include <span>
#include <string_view>

namespace tarnu::docs {

struct CompletionEntry {
  std::string_view label;
  std::string_view detail;
};

// The 73 entries of the catalogue, in catalogue order.
std::span<const CompletionEntry> completion_catalogue() noexcept;

}  // namespace tarnu::docs
