// The parameters of the methods the server answers without implementing them, as plain values with the
// protocol's names. They are decoded all the same, so that a malformed request is told what is wrong
// with it rather than that the method is missing.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "lsp/types.h"

namespace tarnu::lsp {

// ---- Shapes with no C++ counterpart ----

template <std::size_t N>
struct FixedString {
  char text[N];
  // Implicit, so that a literal is written as the protocol writes it: Literal<"create">.
  constexpr FixedString(const char (&literal)[N]) {
    for (std::size_t i = 0; i < N; ++i) text[i] = literal[i];
  }
  constexpr std::string_view view() const { return {text, N - 1}; }
};

// A string member that may hold one text only, such as the `kind` of a file operation.
template <FixedString Text>
struct Literal {
  static constexpr std::string_view value = Text.view();
};

// An object used as a dictionary ({ [key: K]: V }), in the order the editor wrote it.
template <class K, class V>
struct Map {
  std::vector<std::pair<K, V>> entries;
};

using LSPAny = Ignored;
using URI = DocumentUri;
using Decimal = double;
using ChangeAnnotationIdentifier = std::string;

// Enumerations are read as their underlying type: editors send values of newer protocol versions.
using TextDocumentSaveReason = UInteger;
using CompletionItemKind = UInteger;
using CompletionItemTag = UInteger;
using InsertTextFormat = UInteger;
using InsertTextMode = UInteger;
using SymbolKind = UInteger;
using SymbolTag = UInteger;
using DiagnosticSeverity = UInteger;
using DiagnosticTag = UInteger;
using InlayHintKind = UInteger;
using SignatureHelpTriggerKind = UInteger;
using CodeActionTriggerKind = UInteger;
using CodeActionKind = std::string;
using FileChangeType = UInteger;

// ---- Parts shared by many methods ----

struct TextDocumentPositionParams {
  TextDocumentIdentifier textDocument;
  Position position;
};

struct WorkDoneProgressParams {
  std::optional<ProgressToken> workDoneToken;
};

struct PartialResultParams {
  std::optional<ProgressToken> partialResultToken;
};

struct Location {
  DocumentUri uri;
  Range range;
};

struct Command {
  std::string title;
  std::string command;
  std::optional<std::vector<LSPAny>> arguments;
};

struct TextEdit {
  Range range;
  std::string newText;
};

struct AnnotatedTextEdit : TextEdit {
  ChangeAnnotationIdentifier annotationId;
};

struct InsertReplaceEdit {
  std::string newText;
  Range insert;
  Range replace;
};

using MarkupOrText = std::variant<std::string, MarkupContent>;

struct CodeDescription {
  URI href;
};

struct DiagnosticRelatedInformation {
  Location location;
  std::string message;
};

struct Diagnostic {
  Range range;
  std::optional<DiagnosticSeverity> severity;
  std::optional<std::variant<Integer, std::string>> code;
  std::optional<CodeDescription> codeDescription;
  std::optional<std::string> source;
  std::string message;
  std::optional<std::vector<DiagnosticTag>> tags;
  std::optional<std::vector<DiagnosticRelatedInformation>> relatedInformation;
  std::optional<LSPAny> data;
};

// ---- Workspace edits ----

struct OptionalVersionedTextDocumentIdentifier {
  DocumentUri uri;
  std::optional<Integer> version;  // integer | null
};

struct TextDocumentEdit {
  OptionalVersionedTextDocumentIdentifier textDocument;
  std::vector<std::variant<TextEdit, AnnotatedTextEdit>> edits;
};

struct CreateFileOptions {
  std::optional<bool> overwrite;
  std::optional<bool> ignoreIfExists;
};

struct CreateFile {
  Literal<"create"> kind;
  DocumentUri uri;
  std::optional<CreateFileOptions> options;
  std::optional<ChangeAnnotationIdentifier> annotationId;
};

struct RenameFileOptions {
  std::optional<bool> overwrite;
  std::optional<bool> ignoreIfExists;
};

struct RenameFile {
  Literal<"rename"> kind;
  DocumentUri oldUri;
  DocumentUri newUri;
  std::optional<RenameFileOptions> options;
  std::optional<ChangeAnnotationIdentifier> annotationId;
};

struct DeleteFileOptions {
  std::optional<bool> recursive;
  std::optional<bool> ignoreIfNotExists;
};

struct DeleteFile {
  Literal<"delete"> kind;
  DocumentUri uri;
  std::optional<DeleteFileOptions> options;
  std::optional<ChangeAnnotationIdentifier> annotationId;
};

struct ChangeAnnotation {
  std::string label;
  std::optional<bool> needsConfirmation;
  std::optional<std::string> description;
};

struct WorkspaceEdit {
  std::optional<Map<DocumentUri, std::vector<TextEdit>>> changes;
  // The protocol allows either text edits only or text edits mixed with file operations; a list of the
  // mixed kind admits both.
  std::optional<std::vector<std::variant<TextDocumentEdit, CreateFile, RenameFile, DeleteFile>>> documentChanges;
  std::optional<Map<ChangeAnnotationIdentifier, ChangeAnnotation>> changeAnnotations;
};

// ---- Document synchronisation ----

struct WillSaveTextDocumentParams {
  TextDocumentIdentifier textDocument;
  TextDocumentSaveReason reason = 0;
};

struct DidSaveTextDocumentParams {
  TextDocumentIdentifier textDocument;
  std::optional<std::string> text;
};

struct DidCloseTextDocumentParams {
  TextDocumentIdentifier textDocument;
};

// ---- Language features ----

struct CompletionItemLabelDetails {
  std::optional<std::string> detail;
  std::optional<std::string> description;
};

// The whole item as the editor sends it back to be resolved; CompletionItem is the part the server sends.
struct CompletionItemToResolve {
  std::string label;
  std::optional<CompletionItemLabelDetails> labelDetails;
  std::optional<CompletionItemKind> kind;
  std::optional<std::vector<CompletionItemTag>> tags;
  std::optional<std::string> detail;
  std::optional<MarkupOrText> documentation;
  std::optional<bool> deprecated;
  std::optional<bool> preselect;
  std::optional<std::string> sortText;
  std::optional<std::string> filterText;
  std::optional<std::string> insertText;
  std::optional<InsertTextFormat> insertTextFormat;
  std::optional<InsertTextMode> insertTextMode;
  std::optional<std::variant<TextEdit, InsertReplaceEdit>> textEdit;
  std::optional<std::string> textEditText;
  std::optional<std::vector<TextEdit>> additionalTextEdits;
  std::optional<std::vector<std::string>> commitCharacters;
  std::optional<Command> command;
  std::optional<LSPAny> data;
};

struct DeclarationParams : TextDocumentPositionParams, WorkDoneProgressParams, PartialResultParams {};
struct DefinitionParams : TextDocumentPositionParams, WorkDoneProgressParams, PartialResultParams {};
struct TypeDefinitionParams : TextDocumentPositionParams, WorkDoneProgressParams, PartialResultParams {};
struct ImplementationParams : TextDocumentPositionParams, WorkDoneProgressParams, PartialResultParams {};

struct ReferenceContext {
  bool includeDeclaration = false;
};

struct ReferenceParams : TextDocumentPositionParams, WorkDoneProgressParams, PartialResultParams {
  ReferenceContext context;
};

struct CallHierarchyPrepareParams : TextDocumentPositionParams, WorkDoneProgressParams {};

struct CallHierarchyItem {
  std::string name;
  SymbolKind kind = 0;
  std::optional<std::vector<SymbolTag>> tags;
  std::optional<std::string> detail;
  DocumentUri uri;
  Range range;
  Range selectionRange;
  std::optional<LSPAny> data;
};

struct CallHierarchyIncomingCallsParams : WorkDoneProgressParams, PartialResultParams {
  CallHierarchyItem item;
};

struct CallHierarchyOutgoingCallsParams : WorkDoneProgressParams, PartialResultParams {
  CallHierarchyItem item;
};

struct TypeHierarchyPrepareParams : TextDocumentPositionParams, WorkDoneProgressParams {};

struct TypeHierarchyItem {
  std::string name;
  SymbolKind kind = 0;
  std::optional<std::vector<SymbolTag>> tags;
  std::optional<std::string> detail;
  DocumentUri uri;
  Range range;
  Range selectionRange;
  std::optional<LSPAny> data;
};

struct TypeHierarchySupertypesParams : WorkDoneProgressParams, PartialResultParams {
  TypeHierarchyItem item;
};

struct TypeHierarchySubtypesParams : WorkDoneProgressParams, PartialResultParams {
  TypeHierarchyItem item;
};

struct DocumentHighlightParams : TextDocumentPositionParams, WorkDoneProgressParams, PartialResultParams {};

struct DocumentLinkParams : WorkDoneProgressParams, PartialResultParams {
  TextDocumentIdentifier textDocument;
};

struct DocumentLink {
  Range range;
  std::optional<URI> target;
  std::optional<std::string> tooltip;
  std::optional<LSPAny> data;
};

struct CodeLensParams : WorkDoneProgressParams, PartialResultParams {
  TextDocumentIdentifier textDocument;
};

struct CodeLens {
  Range range;
  std::optional<Command> command;
  std::optional<LSPAny> data;
};

struct FoldingRangeParams : WorkDoneProgressParams, PartialResultParams {
  TextDocumentIdentifier textDocument;
};

struct SelectionRangeParams : WorkDoneProgressParams, PartialResultParams {
  TextDocumentIdentifier textDocument;
  std::vector<Position> positions;
};

struct DocumentSymbolParams : WorkDoneProgressParams, PartialResultParams {
  TextDocumentIdentifier textDocument;
};

struct SemanticTokensParams : WorkDoneProgressParams, PartialResultParams {
  TextDocumentIdentifier textDocument;
};

struct SemanticTokensDeltaParams : WorkDoneProgressParams, PartialResultParams {
  TextDocumentIdentifier textDocument;
  std::string previousResultId;
};

struct SemanticTokensRangeParams : WorkDoneProgressParams, PartialResultParams {
  TextDocumentIdentifier textDocument;
  Range range;
};

struct InlineValueContext {
  Integer frameId = 0;
  Range stoppedLocation;
};

struct InlineValueParams : WorkDoneProgressParams {
  TextDocumentIdentifier textDocument;
  Range range;
  InlineValueContext context;
};

struct InlayHintParams : WorkDoneProgressParams {
  TextDocumentIdentifier textDocument;
  Range range;
};

struct InlayHintLabelPart {
  std::string value;
  std::optional<MarkupOrText> tooltip;
  std::optional<Location> location;
  std::optional<Command> command;
};

struct InlayHint {
  Position position;
  std::variant<std::string, std::vector<InlayHintLabelPart>> label;
  std::optional<InlayHintKind> kind;
  std::optional<std::vector<TextEdit>> textEdits;
  std::optional<MarkupOrText> tooltip;
  std::optional<bool> paddingLeft;
  std::optional<bool> paddingRight;
  std::optional<LSPAny> data;
};

struct MonikerParams : TextDocumentPositionParams, WorkDoneProgressParams, PartialResultParams {};

struct DocumentDiagnosticParams : WorkDoneProgressParams, PartialResultParams {
  TextDocumentIdentifier textDocument;
  std::optional<std::string> identifier;
  std::optional<std::string> previousResultId;
};

struct PreviousResultId {
  DocumentUri uri;
  std::string value;
};

struct WorkspaceDiagnosticParams : WorkDoneProgressParams, PartialResultParams {
  std::optional<std::string> identifier;
  std::vector<PreviousResultId> previousResultIds;
};

struct ParameterInformation {
  // The parameter's own text, or its start and end offsets in the signature's label.
  std::variant<std::string, std::array<UInteger, 2>> label;
  std::optional<MarkupOrText> documentation;
};

struct SignatureInformation {
  std::string label;
  std::optional<MarkupOrText> documentation;
  std::optional<std::vector<ParameterInformation>> parameters;
  std::optional<UInteger> activeParameter;
};

struct SignatureHelp {
  std::vector<SignatureInformation> signatures;
  std::optional<UInteger> activeSignature;
  std::optional<UInteger> activeParameter;
};

struct SignatureHelpContext {
  SignatureHelpTriggerKind triggerKind = 0;
  std::optional<std::string> triggerCharacter;
  bool isRetrigger = false;
  std::optional<SignatureHelp> activeSignatureHelp;
};

struct SignatureHelpParams : TextDocumentPositionParams, WorkDoneProgressParams {
  std::optional<SignatureHelpContext> context;
};

struct CodeActionContext {
  std::vector<Diagnostic> diagnostics;
  std::optional<std::vector<CodeActionKind>> only;
  std::optional<CodeActionTriggerKind> triggerKind;
};

struct CodeActionParams : WorkDoneProgressParams, PartialResultParams {
  TextDocumentIdentifier textDocument;
  Range range;
  CodeActionContext context;
};

// The unnamed `{ reason: string }` of CodeAction.disabled.
struct CodeActionDisabled {
  std::string reason;
};

struct CodeAction {
  std::string title;
  std::optional<CodeActionKind> kind;
  std::optional<std::vector<Diagnostic>> diagnostics;
  std::optional<bool> isPreferred;
  std::optional<CodeActionDisabled> disabled;
  std::optional<WorkspaceEdit> edit;
  std::optional<Command> command;
  std::optional<LSPAny> data;
};

struct DocumentColorParams : WorkDoneProgressParams, PartialResultParams {
  TextDocumentIdentifier textDocument;
};

struct Color {
  Decimal red = 0;
  Decimal green = 0;
  Decimal blue = 0;
  Decimal alpha = 0;
};

struct ColorPresentationParams : WorkDoneProgressParams, PartialResultParams {
  TextDocumentIdentifier textDocument;
  Color color;
  Range range;
};

struct FormattingOptions {
  UInteger tabSize = 0;
  bool insertSpaces = false;
  std::optional<bool> trimTrailingWhitespace;
  std::optional<bool> insertFinalNewline;
  std::optional<bool> trimFinalNewlines;
  // Further properties of the editor's own ({ [key: string]: boolean | integer | string }).
  Map<std::string, std::variant<bool, Integer, std::string>> properties;
};

struct DocumentFormattingParams : WorkDoneProgressParams {
  TextDocumentIdentifier textDocument;
  FormattingOptions options;
};

struct DocumentRangeFormattingParams : WorkDoneProgressParams {
  TextDocumentIdentifier textDocument;
  Range range;
  FormattingOptions options;
};

struct DocumentOnTypeFormattingParams {
  TextDocumentIdentifier textDocument;
  Position position;
  std::string ch;
  FormattingOptions options;
};

struct RenameParams : TextDocumentPositionParams, WorkDoneProgressParams {
  std::string newName;
};

struct PrepareRenameParams : TextDocumentPositionParams, WorkDoneProgressParams {};

struct LinkedEditingRangeParams : TextDocumentPositionParams, WorkDoneProgressParams {};

// ---- Workspace features ----

struct WorkspaceSymbolParams : WorkDoneProgressParams, PartialResultParams {
  std::string query;
};

// The unnamed `{ uri: DocumentUri }` of WorkspaceSymbol.location, for symbols whose range the editor
// resolves later.
struct LocationUriOnly {
  DocumentUri uri;
};

struct WorkspaceSymbol {
  std::string name;
  SymbolKind kind = 0;
  std::optional<std::vector<SymbolTag>> tags;
  std::optional<std::string> containerName;
  std::variant<Location, LocationUriOnly> location;
  std::optional<LSPAny> data;
};

struct DidChangeConfigurationParams {
  LSPAny settings;
};

struct WorkspaceFoldersChangeEvent {
  std::vector<WorkspaceFolder> added;
  std::vector<WorkspaceFolder> removed;
};

struct DidChangeWorkspaceFoldersParams {
  WorkspaceFoldersChangeEvent event;
};

// The file operations carry their URIs as plain strings in the protocol; they are file URIs all the
// same and are checked as such.
struct FileCreate {
  URI uri;
};

struct CreateFilesParams {
  std::vector<FileCreate> files;
};

struct FileRename {
  URI oldUri;
  URI newUri;
};

struct RenameFilesParams {
  std::vector<FileRename> files;
};

struct FileDelete {
  URI uri;
};

struct DeleteFilesParams {
  std::vector<FileDelete> files;
};

struct FileEvent {
  DocumentUri uri;
  FileChangeType type = 0;
};

struct DidChangeWatchedFilesParams {
  std::vector<FileEvent> changes;
};

struct ExecuteCommandParams : WorkDoneProgressParams {
  std::string command;
  std::optional<std::vector<LSPAny>> arguments;
};

}  // namespace tarnu::lsp
