// How the protocol's structures that the server decodes are laid out: member names, types and which
// members may be left out (std::optional). The decoder in lsp/decode.h reads these descriptions.
#pragma once

#include "lsp/decode.h"
#include "lsp/types.h"

namespace tarnu::lsp {

template <> struct Structure<Position> {
  static constexpr auto members = Members{
      member("line", &Position::line),
      member("character", &Position::character),
  };
};

template <> struct Structure<Range> {
  static constexpr auto members = Members{
      member("start", &Range::start),
      member("end", &Range::end),
  };
};

template <> struct Structure<TextDocumentIdentifier> {
  static constexpr auto members = Members{
      member("uri", &TextDocumentIdentifier::uri),
  };
};

template <> struct Structure<VersionedTextDocumentIdentifier> {
  static constexpr auto members = Members{
      member("uri", &VersionedTextDocumentIdentifier::uri),
      member("version", &VersionedTextDocumentIdentifier::version),
  };
};

template <> struct Structure<TextDocumentItem> {
  static constexpr auto members = Members{
      member("uri", &TextDocumentItem::uri),
      member("languageId", &TextDocumentItem::languageId),
      member("version", &TextDocumentItem::version),
      member("text", &TextDocumentItem::text),
  };
};

template <> struct Structure<ClientInfo> {
  static constexpr auto members = Members{
      member("name", &ClientInfo::name),
      member("version", &ClientInfo::version),
  };
};

template <> struct Structure<WorkspaceFolder> {
  static constexpr auto members = Members{
      member("uri", &WorkspaceFolder::uri),
      member("name", &WorkspaceFolder::name),
  };
};

// The client's capabilities must be an object; what it holds is not checked, since refusing the
// handshake over one capability the server never reads would leave the editor without a server.
template <> struct Structure<InitializeParams> {
  static constexpr auto members = Members{
      member("workDoneToken", &InitializeParams::workDoneToken),
      member("processId", &InitializeParams::processId),
      member("clientInfo", &InitializeParams::clientInfo),
      member("locale", &InitializeParams::locale),
      member("rootPath", &InitializeParams::rootPath),
      member("rootUri", &InitializeParams::rootUri),
      member("initializationOptions", &InitializeParams::initializationOptions),
      member("capabilities", &InitializeParams::capabilities),
      member("trace", &InitializeParams::trace),
      member("workspaceFolders", &InitializeParams::workspaceFolders),
  };
};

template <> struct Structure<InitializedParams> {
  static constexpr auto members = Members{};
};

template <> struct Structure<DidOpenTextDocumentParams> {
  static constexpr auto members = Members{
      member("textDocument", &DidOpenTextDocumentParams::textDocument),
  };
};

template <> struct Structure<TextDocumentContentChangeEvent> {
  static constexpr auto members = Members{
      member("range", &TextDocumentContentChangeEvent::range),
      member("rangeLength", &TextDocumentContentChangeEvent::rangeLength),
      member("text", &TextDocumentContentChangeEvent::text),
  };
};

template <> struct Structure<DidChangeTextDocumentParams> {
  static constexpr auto members = Members{
      member("textDocument", &DidChangeTextDocumentParams::textDocument),
      member("contentChanges", &DidChangeTextDocumentParams::contentChanges),
  };
};

template <> struct Structure<HoverParams> {
  static constexpr auto members = Members{
      member("textDocument", &HoverParams::textDocument),
      member("position", &HoverParams::position),
      member("workDoneToken", &HoverParams::workDoneToken),
  };
};

template <> struct Structure<CompletionContext> {
  static constexpr auto members = Members{
      member("triggerKind", &CompletionContext::triggerKind),
      member("triggerCharacter", &CompletionContext::triggerCharacter),
  };
};

template <> struct Structure<CompletionParams> {
  static constexpr auto members = Members{
      member("textDocument", &CompletionParams::textDocument),
      member("position", &CompletionParams::position),
      member("workDoneToken", &CompletionParams::workDoneToken),
      member("partialResultToken", &CompletionParams::partialResultToken),
      member("context", &CompletionParams::context),
  };
};

template <> struct Structure<CancelParams> {
  static constexpr auto members = Members{
      member("id", &CancelParams::id),
  };
};

}  // namespace tarnu::lsp
