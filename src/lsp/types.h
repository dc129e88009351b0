// The protocol's structures that the server reads and writes, as plain values with the protocol's names.
// They know nothing of JSON: decoding and encoding live with the method table.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace tarnu::lsp {

// A document URI, already normalised as a URL; its text is the key of the document.
struct DocumentUri {
  std::string href;
};

// Accepts any JSON value and keeps nothing of it (LSPAny where the server reads nothing).
struct Ignored {};

// Accepts any JSON object and keeps nothing of it.
struct IgnoredObject {};

using Integer = std::int32_t;
using UInteger = std::uint32_t;
using ProgressToken = std::variant<Integer, std::string>;

struct Position {
  UInteger line = 0;
  UInteger character = 0;
};

struct Range {
  Position start;
  Position end;
};

struct TextDocumentIdentifier {
  DocumentUri uri;
};

struct VersionedTextDocumentIdentifier {
  DocumentUri uri;
  Integer version = 0;
};

struct TextDocumentItem {
  DocumentUri uri;
  std::string languageId;
  Integer version = 0;
  std::string text;
};

struct ClientInfo {
  std::string name;
  std::optional<std::string> version;
};

struct WorkspaceFolder {
  DocumentUri uri;
  std::string name;
};

struct InitializeParams {
  std::optional<ProgressToken> workDoneToken;
  std::optional<Integer> processId;
  std::optional<ClientInfo> clientInfo;
  std::optional<std::string> locale;
  std::optional<std::string> rootPath;
  std::optional<DocumentUri> rootUri;
  std::optional<Ignored> initializationOptions;
  IgnoredObject capabilities;
  std::optional<std::string> trace;
  std::optional<std::vector<WorkspaceFolder>> workspaceFolders;
};

struct InitializedParams {};

struct DidOpenTextDocumentParams {
  TextDocumentItem textDocument;
};

// Either a whole new text or, with `range`, the replacement of a part of it.
struct TextDocumentContentChangeEvent {
  std::optional<Range> range;
  std::optional<UInteger> rangeLength;
  std::string text;
};

struct DidChangeTextDocumentParams {
  VersionedTextDocumentIdentifier textDocument;
  std::vector<TextDocumentContentChangeEvent> contentChanges;
};

struct HoverParams {
  TextDocumentIdentifier textDocument;
  Position position;
  std::optional<ProgressToken> workDoneToken;
};

struct CompletionContext {
  UInteger triggerKind = 0;
  std::optional<std::string> triggerCharacter;
};

struct CompletionParams {
  TextDocumentIdentifier textDocument;
  Position position;
  std::optional<ProgressToken> workDoneToken;
  std::optional<ProgressToken> partialResultToken;
  std::optional<CompletionContext> context;
};

struct CancelParams {
  std::variant<Integer, std::string> id;
};

// ---- Results ----

struct MarkupContent {
  std::string kind;
  std::string value;
};

struct Hover {
  MarkupContent contents;
};

struct CompletionItem {
  std::string label;
  std::optional<std::string> detail;
};

struct CompletionOptions {
  std::optional<bool> resolveProvider;
  std::optional<std::vector<std::string>> triggerCharacters;
};

enum class TextDocumentSyncKind { None = 0, Full = 1, Incremental = 2 };

struct ServerCapabilities {
  std::optional<TextDocumentSyncKind> textDocumentSync;
  std::optional<bool> hoverProvider;
  std::optional<CompletionOptions> completionProvider;
};

struct ServerInfo {
  std::string name;
  std::optional<std::string> version;
};

struct InitializeResult {
  ServerCapabilities capabilities;
  std::optional<ServerInfo> serverInfo;
};

enum class MessageType { Error = 1, Warning = 2, Info = 3, Log = 4 };

}  // namespace tarnu::lsp
