// Parameter checks of the unimplemented methods about a document or a place in it; the others are in
// feature_checks_workspace.cpp, so that the two halves compile in parallel.
#include "lsp/feature_structures.h"

namespace tarnu::lsp {

// One line per structure that the method table names; a missing one fails at link time.
#define TARNU_CHECK(Params) template std::optional<std::string> check_params<Params>(nlohmann::json&);

TARNU_CHECK(WillSaveTextDocumentParams)
TARNU_CHECK(DidSaveTextDocumentParams)
TARNU_CHECK(DidCloseTextDocumentParams)
TARNU_CHECK(DeclarationParams)
TARNU_CHECK(DefinitionParams)
TARNU_CHECK(TypeDefinitionParams)
TARNU_CHECK(ImplementationParams)
TARNU_CHECK(ReferenceParams)
TARNU_CHECK(CallHierarchyPrepareParams)
TARNU_CHECK(CallHierarchyIncomingCallsParams)
TARNU_CHECK(CallHierarchyOutgoingCallsParams)
TARNU_CHECK(TypeHierarchyPrepareParams)
TARNU_CHECK(TypeHierarchySupertypesParams)
TARNU_CHECK(TypeHierarchySubtypesParams)
TARNU_CHECK(DocumentHighlightParams)
TARNU_CHECK(DocumentLinkParams)
TARNU_CHECK(CodeLensParams)
TARNU_CHECK(FoldingRangeParams)
TARNU_CHECK(SelectionRangeParams)
TARNU_CHECK(DocumentSymbolParams)
TARNU_CHECK(SemanticTokensParams)
TARNU_CHECK(SemanticTokensDeltaParams)
TARNU_CHECK(SemanticTokensRangeParams)
TARNU_CHECK(InlineValueParams)
TARNU_CHECK(InlayHintParams)
TARNU_CHECK(MonikerParams)
TARNU_CHECK(DocumentDiagnosticParams)
TARNU_CHECK(SignatureHelpParams)
TARNU_CHECK(DocumentColorParams)
TARNU_CHECK(ColorPresentationParams)
TARNU_CHECK(DocumentFormattingParams)
TARNU_CHECK(DocumentRangeFormattingParams)
TARNU_CHECK(DocumentOnTypeFormattingParams)
TARNU_CHECK(RenameParams)
TARNU_CHECK(PrepareRenameParams)
TARNU_CHECK(LinkedEditingRangeParams)

#undef TARNU_CHECK

}  // namespace tarnu::lsp
