#include "lsp/methods.h"

#include <type_traits>
#include <unordered_map>

#include "lsp/feature_checks.h"
#include "lsp/feature_params.h"
#include "lsp/results.h"
#include "lsp/structures.h"

namespace tarnu::lsp {
namespace {

using jsonrpc::json;

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

asio::awaitable<Outcome> ready(Outcome outcome) { co_return outcome; }

// Methods the server does not implement still check their parameters, so that a malformed request is
// told so rather than that the method is missing.
template <class Params>
Bound unhandled_request(LanguageServer&, std::optional<json>& params) {
  if (auto error = check_params<Params>(*params)) return std::move(*error);
  return ready(jsonrpc::Error{jsonrpc::codes::method_not_found, "Method not found", std::nullopt});
}

template <class Params>
Bound unhandled_notification(LanguageServer&, std::optional<json>& params) {
  if (auto error = check_params<Params>(*params)) return std::move(*error);
  return ready(json(nullptr));
}

constexpr auto request = MethodKind::request;
constexpr auto notification = MethodKind::notification;
constexpr auto required = ParamsRule::required;

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
    {"textDocument/willSave", notification, required, &unhandled_notification<WillSaveTextDocumentParams>},
    {"textDocument/willSaveWaitUntil", request, required, &unhandled_request<WillSaveTextDocumentParams>},
    {"textDocument/didSave", notification, required, &unhandled_notification<DidSaveTextDocumentParams>},
    {"textDocument/didClose", notification, required, &unhandled_notification<DidCloseTextDocumentParams>},
    // Language features
    {"textDocument/hover", request, required, &handled<HoverParams, &LanguageServer::hover>},
    {"textDocument/completion", request, required, &handled<CompletionParams, &LanguageServer::completion>},
    {"completionItem/resolve", request, required, &unhandled_request<CompletionItemToResolve>},
    {"textDocument/declaration", request, required, &unhandled_request<DeclarationParams>},
    {"textDocument/definition", request, required, &unhandled_request<DefinitionParams>},
    {"textDocument/typeDefinition", request, required, &unhandled_request<TypeDefinitionParams>},
    {"textDocument/implementation", request, required, &unhandled_request<ImplementationParams>},
    {"textDocument/references", request, required, &unhandled_request<ReferenceParams>},
    {"textDocument/prepareCallHierarchy", request, required, &unhandled_request<CallHierarchyPrepareParams>},
    {"callHierarchy/incomingCalls", request, required, &unhandled_request<CallHierarchyIncomingCallsParams>},
    {"callHierarchy/outgoingCalls", request, required, &unhandled_request<CallHierarchyOutgoingCallsParams>},
    {"textDocument/prepareTypeHierarchy", request, required, &unhandled_request<TypeHierarchyPrepareParams>},
    {"typeHierarchy/supertypes", request, required, &unhandled_request<TypeHierarchySupertypesParams>},
    {"typeHierarchy/subtypes", request, required, &unhandled_request<TypeHierarchySubtypesParams>},
    {"textDocument/documentHighlight", request, required, &unhandled_request<DocumentHighlightParams>},
    {"textDocument/documentLink", request, required, &unhandled_request<DocumentLinkParams>},
    {"documentLink/resolve", request, required, &unhandled_request<DocumentLink>},
    {"textDocument/codeLens", request, required, &unhandled_request<CodeLensParams>},
    {"codeLens/resolve", request, required, &unhandled_request<CodeLens>},
    {"textDocument/foldingRange", request, required, &unhandled_request<FoldingRangeParams>},
    {"textDocument/selectionRange", request, required, &unhandled_request<SelectionRangeParams>},
    {"textDocument/documentSymbol", request, required, &unhandled_request<DocumentSymbolParams>},
    {"textDocument/semanticTokens/full", request, required, &unhandled_request<SemanticTokensParams>},
    {"textDocument/semanticTokens/full/delta", request, required, &unhandled_request<SemanticTokensDeltaParams>},
    {"textDocument/semanticTokens/range", request, required, &unhandled_request<SemanticTokensRangeParams>},
    {"textDocument/inlineValue", request, required, &unhandled_request<InlineValueParams>},
    {"textDocument/inlayHint", request, required, &unhandled_request<InlayHintParams>},
    {"inlayHint/resolve", request, required, &unhandled_request<InlayHint>},
    {"textDocument/moniker", request, required, &unhandled_request<MonikerParams>},
    {"textDocument/diagnostic", request, required, &unhandled_request<DocumentDiagnosticParams>},
    {"workspace/diagnostic", request, required, &unhandled_request<WorkspaceDiagnosticParams>},
    {"textDocument/signatureHelp", request, required, &unhandled_request<SignatureHelpParams>},
    {"textDocument/codeAction", request, required, &unhandled_request<CodeActionParams>},
    {"codeAction/resolve", request, required, &unhandled_request<CodeAction>},
    {"textDocument/documentColor", request, required, &unhandled_request<DocumentColorParams>},
    {"textDocument/colorPresentation", request, required, &unhandled_request<ColorPresentationParams>},
    {"textDocument/formatting", request, required, &unhandled_request<DocumentFormattingParams>},
    {"textDocument/rangeFormatting", request, required, &unhandled_request<DocumentRangeFormattingParams>},
    {"textDocument/onTypeFormatting", request, required, &unhandled_request<DocumentOnTypeFormattingParams>},
    {"textDocument/rename", request, required, &unhandled_request<RenameParams>},
    {"textDocument/prepareRename", request, required, &unhandled_request<PrepareRenameParams>},
    {"textDocument/linkedEditingRange", request, required, &unhandled_request<LinkedEditingRangeParams>},
    // Workspace features
    {"workspace/symbol", request, required, &unhandled_request<WorkspaceSymbolParams>},
    {"workspaceSymbol/resolve", request, required, &unhandled_request<WorkspaceSymbol>},
    {"workspace/didChangeConfiguration", notification, required, &unhandled_notification<DidChangeConfigurationParams>},
    {"workspace/didChangeWorkspaceFolders", notification, required, &unhandled_notification<DidChangeWorkspaceFoldersParams>},
    {"workspace/willCreateFiles", request, required, &unhandled_request<CreateFilesParams>},
    {"workspace/didCreateFiles", notification, required, &unhandled_notification<CreateFilesParams>},
    {"workspace/willRenameFiles", request, required, &unhandled_request<RenameFilesParams>},
    {"workspace/didRenameFiles", notification, required, &unhandled_notification<RenameFilesParams>},
    {"workspace/willDeleteFiles", request, required, &unhandled_request<DeleteFilesParams>},
    {"workspace/didDeleteFiles", notification, required, &unhandled_notification<DeleteFilesParams>},
    {"workspace/didChangeWatchedFiles", notification, required, &unhandled_notification<DidChangeWatchedFilesParams>},
    {"workspace/executeCommand", request, required, &unhandled_request<ExecuteCommandParams>},
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
