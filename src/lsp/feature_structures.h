// How the parameters of the methods the server does not implement are laid out, for the decoder in
// lsp/decode.h. Structures that extend others list the members of their bases first (members_of).
#pragma once

#include "lsp/decode.h"
#include "lsp/feature_checks.h"
#include "lsp/feature_params.h"
#include "lsp/structures.h"

namespace tarnu::lsp {

// ---- Parts shared by many methods ----

template <> struct Structure<TextDocumentPositionParams> {
  static constexpr auto members = Members{
      member("textDocument", &TextDocumentPositionParams::textDocument),
      member("position", &TextDocumentPositionParams::position),
  };
};

template <> struct Structure<WorkDoneProgressParams> {
  static constexpr auto members = Members{
      member("workDoneToken", &WorkDoneProgressParams::workDoneToken),
  };
};

template <> struct Structure<PartialResultParams> {
  static constexpr auto members = Members{
      member("partialResultToken", &PartialResultParams::partialResultToken),
  };
};

template <> struct Structure<Location> {
  static constexpr auto members = Members{
      member("uri", &Location::uri),
      member("range", &Location::range),
  };
};

template <> struct Structure<Command> {
  static constexpr auto members = Members{
      member("title", &Command::title),
      member("command", &Command::command),
      member("arguments", &Command::arguments),
  };
};

template <> struct Structure<TextEdit> {
  static constexpr auto members = Members{
      member("range", &TextEdit::range),
      member("newText", &TextEdit::newText),
  };
};

template <> struct Structure<AnnotatedTextEdit> {
  static constexpr auto members = members_of<TextEdit>(member("annotationId", &AnnotatedTextEdit::annotationId));
};

template <> struct Structure<InsertReplaceEdit> {
  static constexpr auto members = Members{
      member("newText", &InsertReplaceEdit::newText),
      member("insert", &InsertReplaceEdit::insert),
      member("replace", &InsertReplaceEdit::replace),
  };
};

template <> struct Structure<MarkupContent> {
  static constexpr auto members = Members{
      member("kind", &MarkupContent::kind),
      member("value", &MarkupContent::value),
  };
};

template <> struct Structure<CodeDescription> {
  static constexpr auto members = Members{
      member("href", &CodeDescription::href),
  };
};

template <> struct Structure<DiagnosticRelatedInformation> {
  static constexpr auto members = Members{
      member("location", &DiagnosticRelatedInformation::location),
      member("message", &DiagnosticRelatedInformation::message),
  };
};

template <> struct Structure<Diagnostic> {
  static constexpr auto members = Members{
      member("range", &Diagnostic::range),
      member("severity", &Diagnostic::severity),
      member("code", &Diagnostic::code),
      member("codeDescription", &Diagnostic::codeDescription),
      member("source", &Diagnostic::source),
      member("message", &Diagnostic::message),
      member("tags", &Diagnostic::tags),
      member("relatedInformation", &Diagnostic::relatedInformation),
      member("data", &Diagnostic::data),
  };
};

// ---- Workspace edits ----

template <> struct Structure<OptionalVersionedTextDocumentIdentifier> {
  static constexpr auto members = Members{
      member("uri", &OptionalVersionedTextDocumentIdentifier::uri),
      member("version", &OptionalVersionedTextDocumentIdentifier::version),
  };
};

template <> struct Structure<TextDocumentEdit> {
  static constexpr auto members = Members{
      member("textDocument", &TextDocumentEdit::textDocument),
      member("edits", &TextDocumentEdit::edits),
  };
};

template <> struct Structure<CreateFileOptions> {
  static constexpr auto members = Members{
      member("overwrite", &CreateFileOptions::overwrite),
      member("ignoreIfExists", &CreateFileOptions::ignoreIfExists),
  };
};

template <> struct Structure<CreateFile> {
  static constexpr auto members = Members{
      member("kind", &CreateFile::kind),
      member("uri", &CreateFile::uri),
      member("options", &CreateFile::options),
      member("annotationId", &CreateFile::annotationId),
  };
};

template <> struct Structure<RenameFileOptions> {
  static constexpr auto members = Members{
      member("overwrite", &RenameFileOptions::overwrite),
      member("ignoreIfExists", &RenameFileOptions::ignoreIfExists),
  };
};

template <> struct Structure<RenameFile> {
  static constexpr auto members = Members{
      member("kind", &RenameFile::kind),
      member("oldUri", &RenameFile::oldUri),
      member("newUri", &RenameFile::newUri),
      member("options", &RenameFile::options),
      member("annotationId", &RenameFile::annotationId),
  };
};

template <> struct Structure<DeleteFileOptions> {
  static constexpr auto members = Members{
      member("recursive", &DeleteFileOptions::recursive),
      member("ignoreIfNotExists", &DeleteFileOptions::ignoreIfNotExists),
  };
};

template <> struct Structure<DeleteFile> {
  static constexpr auto members = Members{
      member("kind", &DeleteFile::kind),
      member("uri", &DeleteFile::uri),
      member("options", &DeleteFile::options),
      member("annotationId", &DeleteFile::annotationId),
  };
};

template <> struct Structure<ChangeAnnotation> {
  static constexpr auto members = Members{
      member("label", &ChangeAnnotation::label),
      member("needsConfirmation", &ChangeAnnotation::needsConfirmation),
      member("description", &ChangeAnnotation::description),
  };
};

template <> struct Structure<WorkspaceEdit> {
  static constexpr auto members = Members{
      member("changes", &WorkspaceEdit::changes),
      member("documentChanges", &WorkspaceEdit::documentChanges),
      member("changeAnnotations", &WorkspaceEdit::changeAnnotations),
  };
};

// ---- Document synchronisation ----

template <> struct Structure<WillSaveTextDocumentParams> {
  static constexpr auto members = Members{
      member("textDocument", &WillSaveTextDocumentParams::textDocument),
      member("reason", &WillSaveTextDocumentParams::reason),
  };
};

template <> struct Structure<DidSaveTextDocumentParams> {
  static constexpr auto members = Members{
      member("textDocument", &DidSaveTextDocumentParams::textDocument),
      member("text", &DidSaveTextDocumentParams::text),
  };
};

template <> struct Structure<DidCloseTextDocumentParams> {
  static constexpr auto members = Members{
      member("textDocument", &DidCloseTextDocumentParams::textDocument),
  };
};

// ---- Language features ----

template <> struct Structure<CompletionItemLabelDetails> {
  static constexpr auto members = Members{
      member("detail", &CompletionItemLabelDetails::detail),
      member("description", &CompletionItemLabelDetails::description),
  };
};

template <> struct Structure<CompletionItemToResolve> {
  using T = CompletionItemToResolve;
  static constexpr auto members = Members{
      member("label", &T::label),
      member("labelDetails", &T::labelDetails),
      member("kind", &T::kind),
      member("tags", &T::tags),
      member("detail", &T::detail),
      member("documentation", &T::documentation),
      member("deprecated", &T::deprecated),
      member("preselect", &T::preselect),
      member("sortText", &T::sortText),
      member("filterText", &T::filterText),
      member("insertText", &T::insertText),
      member("insertTextFormat", &T::insertTextFormat),
      member("insertTextMode", &T::insertTextMode),
      member("textEdit", &T::textEdit),
      member("textEditText", &T::textEditText),
      member("additionalTextEdits", &T::additionalTextEdits),
      member("commitCharacters", &T::commitCharacters),
      member("command", &T::command),
      member("data", &T::data),
  };
};

template <> struct Structure<DeclarationParams> {
  static constexpr auto members =
      members_of<TextDocumentPositionParams, WorkDoneProgressParams, PartialResultParams>();
};

template <> struct Structure<DefinitionParams> {
  static constexpr auto members =
      members_of<TextDocumentPositionParams, WorkDoneProgressParams, PartialResultParams>();
};

template <> struct Structure<TypeDefinitionParams> {
  static constexpr auto members =
      members_of<TextDocumentPositionParams, WorkDoneProgressParams, PartialResultParams>();
};

template <> struct Structure<ImplementationParams> {
  static constexpr auto members =
      members_of<TextDocumentPositionParams, WorkDoneProgressParams, PartialResultParams>();
};

template <> struct Structure<ReferenceContext> {
  static constexpr auto members = Members{
      member("includeDeclaration", &ReferenceContext::includeDeclaration),
  };
};

template <> struct Structure<ReferenceParams> {
  static constexpr auto members = members_of<TextDocumentPositionParams, WorkDoneProgressParams, PartialResultParams>(
      member("context", &ReferenceParams::context));
};

template <> struct Structure<CallHierarchyPrepareParams> {
  static constexpr auto members = members_of<TextDocumentPositionParams, WorkDoneProgressParams>();
};

template <> struct Structure<CallHierarchyItem> {
  using T = CallHierarchyItem;
  static constexpr auto members = Members{
      member("name", &T::name),
      member("kind", &T::kind),
      member("tags", &T::tags),
      member("detail", &T::detail),
      member("uri", &T::uri),
      member("range", &T::range),
      member("selectionRange", &T::selectionRange),
      member("data", &T::data),
  };
};

template <> struct Structure<CallHierarchyIncomingCallsParams> {
  static constexpr auto members =
      members_of<WorkDoneProgressParams, PartialResultParams>(member("item", &CallHierarchyIncomingCallsParams::item));
};

template <> struct Structure<CallHierarchyOutgoingCallsParams> {
  static constexpr auto members =
      members_of<WorkDoneProgressParams, PartialResultParams>(member("item", &CallHierarchyOutgoingCallsParams::item));
};

template <> struct Structure<TypeHierarchyPrepareParams> {
  static constexpr auto members = members_of<TextDocumentPositionParams, WorkDoneProgressParams>();
};

template <> struct Structure<TypeHierarchyItem> {
  using T = TypeHierarchyItem;
  static constexpr auto members = Members{
      member("name", &T::name),
      member("kind", &T::kind),
      member("tags", &T::tags),
      member("detail", &T::detail),
      member("uri", &T::uri),
      member("range", &T::range),
      member("selectionRange", &T::selectionRange),
      member("data", &T::data),
  };
};

template <> struct Structure<TypeHierarchySupertypesParams> {
  static constexpr auto members =
      members_of<WorkDoneProgressParams, PartialResultParams>(member("item", &TypeHierarchySupertypesParams::item));
};

template <> struct Structure<TypeHierarchySubtypesParams> {
  static constexpr auto members =
      members_of<WorkDoneProgressParams, PartialResultParams>(member("item", &TypeHierarchySubtypesParams::item));
};

template <> struct Structure<DocumentHighlightParams> {
  static constexpr auto members =
      members_of<TextDocumentPositionParams, WorkDoneProgressParams, PartialResultParams>();
};

template <> struct Structure<DocumentLinkParams> {
  static constexpr auto members = members_of<WorkDoneProgressParams, PartialResultParams>(
      member("textDocument", &DocumentLinkParams::textDocument));
};

template <> struct Structure<DocumentLink> {
  static constexpr auto members = Members{
      member("range", &DocumentLink::range),
      member("target", &DocumentLink::target),
      member("tooltip", &DocumentLink::tooltip),
      member("data", &DocumentLink::data),
  };
};

template <> struct Structure<CodeLensParams> {
  static constexpr auto members =
      members_of<WorkDoneProgressParams, PartialResultParams>(member("textDocument", &CodeLensParams::textDocument));
};

template <> struct Structure<CodeLens> {
  static constexpr auto members = Members{
      member("range", &CodeLens::range),
      member("command", &CodeLens::command),
      member("data", &CodeLens::data),
  };
};

template <> struct Structure<FoldingRangeParams> {
  static constexpr auto members = members_of<WorkDoneProgressParams, PartialResultParams>(
      member("textDocument", &FoldingRangeParams::textDocument));
};

template <> struct Structure<SelectionRangeParams> {
  static constexpr auto members = members_of<WorkDoneProgressParams, PartialResultParams>(
      member("textDocument", &SelectionRangeParams::textDocument),
      member("positions", &SelectionRangeParams::positions));
};

template <> struct Structure<DocumentSymbolParams> {
  static constexpr auto members = members_of<WorkDoneProgressParams, PartialResultParams>(
      member("textDocument", &DocumentSymbolParams::textDocument));
};

template <> struct Structure<SemanticTokensParams> {
  static constexpr auto members = members_of<WorkDoneProgressParams, PartialResultParams>(
      member("textDocument", &SemanticTokensParams::textDocument));
};

template <> struct Structure<SemanticTokensDeltaParams> {
  static constexpr auto members = members_of<WorkDoneProgressParams, PartialResultParams>(
      member("textDocument", &SemanticTokensDeltaParams::textDocument),
      member("previousResultId", &SemanticTokensDeltaParams::previousResultId));
};

template <> struct Structure<SemanticTokensRangeParams> {
  static constexpr auto members = members_of<WorkDoneProgressParams, PartialResultParams>(
      member("textDocument", &SemanticTokensRangeParams::textDocument),
      member("range", &SemanticTokensRangeParams::range));
};

template <> struct Structure<InlineValueContext> {
  static constexpr auto members = Members{
      member("frameId", &InlineValueContext::frameId),
      member("stoppedLocation", &InlineValueContext::stoppedLocation),
  };
};

template <> struct Structure<InlineValueParams> {
  static constexpr auto members = members_of<WorkDoneProgressParams>(
      member("textDocument", &InlineValueParams::textDocument),
      member("range", &InlineValueParams::range),
      member("context", &InlineValueParams::context));
};

template <> struct Structure<InlayHintParams> {
  static constexpr auto members = members_of<WorkDoneProgressParams>(
      member("textDocument", &InlayHintParams::textDocument),
      member("range", &InlayHintParams::range));
};

template <> struct Structure<InlayHintLabelPart> {
  static constexpr auto members = Members{
      member("value", &InlayHintLabelPart::value),
      member("tooltip", &InlayHintLabelPart::tooltip),
      member("location", &InlayHintLabelPart::location),
      member("command", &InlayHintLabelPart::command),
  };
};

template <> struct Structure<InlayHint> {
  static constexpr auto members = Members{
      member("position", &InlayHint::position),
      member("label", &InlayHint::label),
      member("kind", &InlayHint::kind),
      member("textEdits", &InlayHint::textEdits),
      member("tooltip", &InlayHint::tooltip),
      member("paddingLeft", &InlayHint::paddingLeft),
      member("paddingRight", &InlayHint::paddingRight),
      member("data", &InlayHint::data),
  };
};

template <> struct Structure<MonikerParams> {
  static constexpr auto members =
      members_of<TextDocumentPositionParams, WorkDoneProgressParams, PartialResultParams>();
};

template <> struct Structure<DocumentDiagnosticParams> {
  static constexpr auto members = members_of<WorkDoneProgressParams, PartialResultParams>(
      member("textDocument", &DocumentDiagnosticParams::textDocument),
      member("identifier", &DocumentDiagnosticParams::identifier),
      member("previousResultId", &DocumentDiagnosticParams::previousResultId));
};

template <> struct Structure<PreviousResultId> {
  static constexpr auto members = Members{
      member("uri", &PreviousResultId::uri),
      member("value", &PreviousResultId::value),
  };
};

template <> struct Structure<WorkspaceDiagnosticParams> {
  static constexpr auto members = members_of<WorkDoneProgressParams, PartialResultParams>(
      member("identifier", &WorkspaceDiagnosticParams::identifier),
      member("previousResultIds", &WorkspaceDiagnosticParams::previousResultIds));
};

template <> struct Structure<ParameterInformation> {
  static constexpr auto members = Members{
      member("label", &ParameterInformation::label),
      member("documentation", &ParameterInformation::documentation),
  };
};

template <> struct Structure<SignatureInformation> {
  static constexpr auto members = Members{
      member("label", &SignatureInformation::label),
      member("documentation", &SignatureInformation::documentation),
      member("parameters", &SignatureInformation::parameters),
      member("activeParameter", &SignatureInformation::activeParameter),
  };
};

template <> struct Structure<SignatureHelp> {
  static constexpr auto members = Members{
      member("signatures", &SignatureHelp::signatures),
      member("activeSignature", &SignatureHelp::activeSignature),
      member("activeParameter", &SignatureHelp::activeParameter),
  };
};

template <> struct Structure<SignatureHelpContext> {
  static constexpr auto members = Members{
      member("triggerKind", &SignatureHelpContext::triggerKind),
      member("triggerCharacter", &SignatureHelpContext::triggerCharacter),
      member("isRetrigger", &SignatureHelpContext::isRetrigger),
      member("activeSignatureHelp", &SignatureHelpContext::activeSignatureHelp),
  };
};

template <> struct Structure<SignatureHelpParams> {
  static constexpr auto members = members_of<TextDocumentPositionParams, WorkDoneProgressParams>(
      member("context", &SignatureHelpParams::context));
};

template <> struct Structure<CodeActionContext> {
  static constexpr auto members = Members{
      member("diagnostics", &CodeActionContext::diagnostics),
      member("only", &CodeActionContext::only),
      member("triggerKind", &CodeActionContext::triggerKind),
  };
};

template <> struct Structure<CodeActionParams> {
  static constexpr auto members = members_of<WorkDoneProgressParams, PartialResultParams>(
      member("textDocument", &CodeActionParams::textDocument),
      member("range", &CodeActionParams::range),
      member("context", &CodeActionParams::context));
};

template <> struct Structure<CodeActionDisabled> {
  static constexpr auto members = Members{
      member("reason", &CodeActionDisabled::reason),
  };
};

template <> struct Structure<CodeAction> {
  static constexpr auto members = Members{
      member("title", &CodeAction::title),
      member("kind", &CodeAction::kind),
      member("diagnostics", &CodeAction::diagnostics),
      member("isPreferred", &CodeAction::isPreferred),
      member("disabled", &CodeAction::disabled),
      member("edit", &CodeAction::edit),
      member("command", &CodeAction::command),
      member("data", &CodeAction::data),
  };
};

template <> struct Structure<DocumentColorParams> {
  static constexpr auto members = members_of<WorkDoneProgressParams, PartialResultParams>(
      member("textDocument", &DocumentColorParams::textDocument));
};

template <> struct Structure<Color> {
  static constexpr auto members = Members{
      member("red", &Color::red),
      member("green", &Color::green),
      member("blue", &Color::blue),
      member("alpha", &Color::alpha),
  };
};

template <> struct Structure<ColorPresentationParams> {
  static constexpr auto members = members_of<WorkDoneProgressParams, PartialResultParams>(
      member("textDocument", &ColorPresentationParams::textDocument),
      member("color", &ColorPresentationParams::color),
      member("range", &ColorPresentationParams::range));
};

template <> struct Structure<FormattingOptions> {
  static constexpr auto members = Members{
      member("tabSize", &FormattingOptions::tabSize),
      member("insertSpaces", &FormattingOptions::insertSpaces),
      member("trimTrailingWhitespace", &FormattingOptions::trimTrailingWhitespace),
      member("insertFinalNewline", &FormattingOptions::insertFinalNewline),
      member("trimFinalNewlines", &FormattingOptions::trimFinalNewlines),
  };
  static constexpr auto rest = &FormattingOptions::properties;
};

template <> struct Structure<DocumentFormattingParams> {
  static constexpr auto members = members_of<WorkDoneProgressParams>(
      member("textDocument", &DocumentFormattingParams::textDocument),
      member("options", &DocumentFormattingParams::options));
};

template <> struct Structure<DocumentRangeFormattingParams> {
  static constexpr auto members = members_of<WorkDoneProgressParams>(
      member("textDocument", &DocumentRangeFormattingParams::textDocument),
      member("range", &DocumentRangeFormattingParams::range),
      member("options", &DocumentRangeFormattingParams::options));
};

template <> struct Structure<DocumentOnTypeFormattingParams> {
  static constexpr auto members = Members{
      member("textDocument", &DocumentOnTypeFormattingParams::textDocument),
      member("position", &DocumentOnTypeFormattingParams::position),
      member("ch", &DocumentOnTypeFormattingParams::ch),
      member("options", &DocumentOnTypeFormattingParams::options),
  };
};

template <> struct Structure<RenameParams> {
  static constexpr auto members = members_of<TextDocumentPositionParams, WorkDoneProgressParams>(
      member("newName", &RenameParams::newName));
};

template <> struct Structure<PrepareRenameParams> {
  static constexpr auto members = members_of<TextDocumentPositionParams, WorkDoneProgressParams>();
};

template <> struct Structure<LinkedEditingRangeParams> {
  static constexpr auto members = members_of<TextDocumentPositionParams, WorkDoneProgressParams>();
};

// ---- Workspace features ----

template <> struct Structure<WorkspaceSymbolParams> {
  static constexpr auto members =
      members_of<WorkDoneProgressParams, PartialResultParams>(member("query", &WorkspaceSymbolParams::query));
};

template <> struct Structure<LocationUriOnly> {
  static constexpr auto members = Members{
      member("uri", &LocationUriOnly::uri),
  };
};

template <> struct Structure<WorkspaceSymbol> {
  static constexpr auto members = Members{
      member("name", &WorkspaceSymbol::name),
      member("kind", &WorkspaceSymbol::kind),
      member("tags", &WorkspaceSymbol::tags),
      member("containerName", &WorkspaceSymbol::containerName),
      member("location", &WorkspaceSymbol::location),
      member("data", &WorkspaceSymbol::data),
  };
};

template <> struct Structure<DidChangeConfigurationParams> {
  static constexpr auto members = Members{
      member("settings", &DidChangeConfigurationParams::settings),
  };
};

template <> struct Structure<WorkspaceFoldersChangeEvent> {
  static constexpr auto members = Members{
      member("added", &WorkspaceFoldersChangeEvent::added),
      member("removed", &WorkspaceFoldersChangeEvent::removed),
  };
};

template <> struct Structure<DidChangeWorkspaceFoldersParams> {
  static constexpr auto members = Members{
      member("event", &DidChangeWorkspaceFoldersParams::event),
  };
};

template <> struct Structure<FileCreate> {
  static constexpr auto members = Members{
      member("uri", &FileCreate::uri),
  };
};

template <> struct Structure<CreateFilesParams> {
  static constexpr auto members = Members{
      member("files", &CreateFilesParams::files),
  };
};

template <> struct Structure<FileRename> {
  static constexpr auto members = Members{
      member("oldUri", &FileRename::oldUri),
      member("newUri", &FileRename::newUri),
  };
};

template <> struct Structure<RenameFilesParams> {
  static constexpr auto members = Members{
      member("files", &RenameFilesParams::files),
  };
};

template <> struct Structure<FileDelete> {
  static constexpr auto members = Members{
      member("uri", &FileDelete::uri),
  };
};

template <> struct Structure<DeleteFilesParams> {
  static constexpr auto members = Members{
      member("files", &DeleteFilesParams::files),
  };
};

template <> struct Structure<FileEvent> {
  static constexpr auto members = Members{
      member("uri", &FileEvent::uri),
      member("type", &FileEvent::type),
  };
};

template <> struct Structure<DidChangeWatchedFilesParams> {
  static constexpr auto members = Members{
      member("changes", &DidChangeWatchedFilesParams::changes),
  };
};

template <> struct Structure<ExecuteCommandParams> {
  static constexpr auto members = members_of<WorkDoneProgressParams>(
      member("command", &ExecuteCommandParams::command),
      member("arguments", &ExecuteCommandParams::arguments));
};

// The checks are instantiated in feature_checks_*.cpp.
template <class Params>
std::optional<std::string> check_params(nlohmann::json& params) {
  Params decoded{};
  return decode(params, decoded);
}

}  // namespace tarnu::lsp
