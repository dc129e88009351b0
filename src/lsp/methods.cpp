#include "lsp/methods.h"

#include <type_traits>
#include <unordered_map>

#include "lsp/results.h"
#include "lsp/structures.h"

namespace tarnu::lsp {
namespace {

using jsonrpc::json;

asio::awaitable<Outcome> ready(Outcome outcome) { co_return outcome; }

template <auto Operation, class Params>
asio::awaitable<Outcome> call(LanguageServer& server, Params params) {
  using Result = typename std::invoke_result_t<decltype(Operation), LanguageServer&, Params>::value_type;
  if constexpr (std::is_void_v<Result>) {
    co_await (server.*Operation)(std::move(params));
    co_return json(nullptr);
  } else {
    co_return to_json(co_await (server.*Operation)(std::move(params)));
  }
}

template <class Params, auto Operation>
Bound handled(LanguageServer& server, std::optional<json>& params) {
  Params decoded{};
  if (auto error = decode(*params, decoded)) return std::move(*error);
  return call<Operation>(server, std::move(decoded));
}

asio::awaitable<Outcome> call_shutdown(LanguageServer& server) {
  co_await server.shutdown();
  co_return json(nullptr);
}

Bound shutdown(LanguageServer& server, std::optional<json>&) { return call_shutdown(server); }

// Methods the server does not implement still check their parameters, so that a malformed request is
// told so rather than that the method is missing.
template <class Params>
Bound unhandled_request(LanguageServer&, std::optional<json>& params) {
  Params decoded{};
  if (auto error = decode(*params, decoded)) return std::move(*error);
  return ready(jsonrpc::Error{jsonrpc::codes::method_not_found, "Method not found", std::nullopt});
}

template <class Params>
Bound unhandled_notification(LanguageServer&, std::optional<json>& params) {
  Params decoded{};
  if (auto error = decode(*params, decoded)) return std::move(*error);
  return ready(json(nullptr));
}

constexpr auto request = MethodKind::request;
constexpr auto notification = MethodKind::notification;
constexpr auto required = ParamsRule::required;

// Until their structures are described, the methods the server does not implement take any value.
using Unchecked = Ignored;

const Method methods[] = {
    // Lifecycle
    {"initialize", request, required, &handled<InitializeParams, &LanguageServer::initialize>},
    {"initialized", notification, required, &handled<InitializedParams, &LanguageServer::initialized>},
    {"shutdown", request, ParamsRule::none, &shutdown},
    {"exit", notification, ParamsRule::ignored, nullptr},
    {"$/cancelRequest", notification, required, nullptr},
    // Document synchronisation
    {"textDocument/didOpen", notification, required, &handled<DidOpenTextDocumentParams, &LanguageServer::did_open>},
    {"textDocument/didChange", notification, required, &handled<DidChangeTextDocumentParams, &LanguageServer::did_change>},
    {"textDocument/willSave", notification, required, &unhandled_notification<Unchecked>},
    {"textDocument/willSaveWaitUntil", request, required, &unhandled_request<Unchecked>},
    {"textDocument/didSave", notification, required, &unhandled_notification<Unchecked>},
    {"textDocument/didClose", notification, required, &unhandled_notification<Unchecked>},
    // Language features
    {"textDocument/hover", request, required, &handled<HoverParams, &LanguageServer::hover>},
    {"textDocument/completion", request, required, &handled<CompletionParams, &LanguageServer::completion>},
    {"completionItem/resolve", request, required, &unhandled_request<Unchecked>},
    {"textDocument/declaration", request, required, &unhandled_request<Unchecked>},
    {"textDocument/definition", request, required, &unhandled_request<Unchecked>},
    {"textDocument/typeDefinition", request, required, &unhandled_request<Unchecked>},
    {"textDocument/implementation", request, required, &unhandled_request<Unchecked>},
    {"textDocument/references", request, required, &unhandled_request<Unchecked>},
    {"textDocument/prepareCallHierarchy", request, required, &unhandled_request<Unchecked>},
    {"callHierarchy/incomingCalls", request, required, &unhandled_request<Unchecked>},
    {"callHierarchy/outgoingCalls", request, required, &unhandled_request<Unchecked>},
    {"textDocument/prepareTypeHierarchy", request, required, &unhandled_request<Unchecked>},
    {"typeHierarchy/supertypes", request, required, &unhandled_request<Unchecked>},
    {"typeHierarchy/subtypes", request, required, &unhandled_request<Unchecked>},
    {"textDocument/documentHighlight", request, required, &unhandled_request<Unchecked>},
    {"textDocument/documentLink", request, required, &unhandled_request<Unchecked>},
    {"documentLink/resolve", request, required, &unhandled_request<Unchecked>},
    {"textDocument/codeLens", request, required, &unhandled_request<Unchecked>},
    {"codeLens/resolve", request, required, &unhandled_request<Unchecked>},
    {"textDocument/foldingRange", request, required, &unhandled_request<Unchecked>},
    {"textDocument/selectionRange", request, required, &unhandled_request<Unchecked>},
    {"textDocument/documentSymbol", request, required, &unhandled_request<Unchecked>},
    {"textDocument/semanticTokens/full", request, required, &unhandled_request<Unchecked>},
    {"textDocument/semanticTokens/full/delta", request, required, &unhandled_request<Unchecked>},
    {"textDocument/semanticTokens/range", request, required, &unhandled_request<Unchecked>},
    {"textDocument/inlineValue", request, required, &unhandled_request<Unchecked>},
    {"textDocument/inlayHint", request, required, &unhandled_request<Unchecked>},
    {"inlayHint/resolve", request, required, &unhandled_request<Unchecked>},
    {"textDocument/moniker", request, required, &unhandled_request<Unchecked>},
    {"textDocument/diagnostic", request, required, &unhandled_request<Unchecked>},
    {"workspace/diagnostic", request, required, &unhandled_request<Unchecked>},
    {"textDocument/signatureHelp", request, required, &unhandled_request<Unchecked>},
    {"textDocument/codeAction", request, required, &unhandled_request<Unchecked>},
    {"codeAction/resolve", request, required, &unhandled_request<Unchecked>},
    {"textDocument/documentColor", request, required, &unhandled_request<Unchecked>},
    {"textDocument/colorPresentation", request, required, &unhandled_request<Unchecked>},
    {"textDocument/formatting", request, required, &unhandled_request<Unchecked>},
    {"textDocument/rangeFormatting", request, required, &unhandled_request<Unchecked>},
    {"textDocument/onTypeFormatting", request, required, &unhandled_request<Unchecked>},
    {"textDocument/rename", request, required, &unhandled_request<Unchecked>},
    {"textDocument/prepareRename", request, required, &unhandled_request<Unchecked>},
    {"textDocument/linkedEditingRange", request, required, &unhandled_request<Unchecked>},
    // Workspace features
    {"workspace/symbol", request, required, &unhandled_request<Unchecked>},
    {"workspaceSymbol/resolve", request, required, &unhandled_request<Unchecked>},
    {"workspace/didChangeConfiguration", notification, required, &unhandled_notification<Unchecked>},
    {"workspace/didChangeWorkspaceFolders", notification, required, &unhandled_notification<Unchecked>},
    {"workspace/willCreateFiles", request, required, &unhandled_request<Unchecked>},
    {"workspace/didCreateFiles", notification, required, &unhandled_notification<Unchecked>},
    {"workspace/willRenameFiles", request, required, &unhandled_request<Unchecked>},
    {"workspace/didRenameFiles", notification, required, &unhandled_notification<Unchecked>},
    {"workspace/willDeleteFiles", request, required, &unhandled_request<Unchecked>},
    {"workspace/didDeleteFiles", notification, required, &unhandled_notification<Unchecked>},
    {"workspace/didChangeWatchedFiles", notification, required, &unhandled_notification<Unchecked>},
    {"workspace/executeCommand", request, required, &unhandled_request<Unchecked>},
};

static_assert(std::size(methods) == 65);

}  // namespace

const Method* find_method(std::string_view name) {
  static const auto index = [] {
    std::unordered_map<std::string_view, const Method*> map;
    for (const auto& method : methods) map.emplace(method.name, &method);
    return map;
  }();
  auto it = index.find(name);
  return it == index.end() ? nullptr : it->second;
}

std::variant<jsonrpc::Id, std::string> decode_cancel_params(std::optional<json>& params) {
  CancelParams decoded{};
  if (auto error = decode(*params, decoded)) return std::move(*error);
  return std::visit(
      [](auto& id) {
        if constexpr (std::is_same_v<std::decay_t<decltype(id)>, std::string>) {
          return jsonrpc::Id{std::move(id)};
        } else {
          return jsonrpc::Id{static_cast<std::int64_t>(id)};
        }
      },
      decoded.id);
}

}  // namespace tarnu::lsp
