// Checks of the parameters of the methods the server does not implement. They are decoded all the same,
// so that a malformed request is told what is wrong with it rather than that the method is missing.
//
// The method table sees only this declaration. The decoding of the many structures is instantiated in
// feature_checks_*.cpp, which compile apart from the table and need no asynchronous machinery.
#pragma once

#include <optional>
#include <string>

#include <nlohmann/json.hpp>

namespace tarnu::lsp {

// Nothing when `params` fit Params, else the description of the first mismatch.
template <class Params>
std::optional<std::string> check_params(nlohmann::json& params);

}  // namespace tarnu::lsp
