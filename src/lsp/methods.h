// The table of every method the connection knows: its name, its kind, its parameter structure and the
// operation that serves it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include <asio/awaitable.hpp>

#include "jsonrpc/message.h"
#include "lsp/language_server.h"

namespace tarnu::lsp {

enum class MethodKind { request, notification };

enum class ParamsRule {
  required,  // a `params` member must be present and fit the structure
  none,      // the method takes no parameters; a present `params` is an error
  ignored,   // not looked at
};

// What a request's work yields: a result value or an error. A notification's work yields a null result.
using Outcome = std::variant<jsonrpc::json, jsonrpc::Error>;

// The handler's work once the parameters fit, or the description of why they do not.
using Bound = std::variant<asio::awaitable<Outcome>, std::string>;

struct Method {
  std::string_view name;
  MethodKind kind;
  ParamsRule params;
  // Null for the methods the connection serves itself ($/cancelRequest, exit).
  Bound (*bind)(LanguageServer& server, std::optional<jsonrpc::json>& params);
};

const Method* find_method(std::string_view name);

// The parameters of $/cancelRequest: the identifier to cancel, or why the parameters do not fit.
std::variant<jsonrpc::Id, std::string> decode_cancel_params(std::optional<jsonrpc::json>& params);

}  // namespace tarnu::lsp
