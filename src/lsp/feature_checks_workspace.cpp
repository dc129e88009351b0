// Parameter checks of the unimplemented methods that resolve items, act on code or on the workspace.
#include "lsp/feature_structures.h"

namespace tarnu::lsp {

// One line per structure that the method table names; a missing one fails at link time.
#define TARNU_CHECK(Params) template std::optional<std::string> check_params<Params>(nlohmann::json&);

TARNU_CHECK(CompletionItemToResolve)
TARNU_CHECK(DocumentLink)
TARNU_CHECK(CodeLens)
TARNU_CHECK(InlayHint)
TARNU_CHECK(CodeActionParams)
TARNU_CHECK(CodeAction)
TARNU_CHECK(WorkspaceDiagnosticParams)
TARNU_CHECK(WorkspaceSymbolParams)
TARNU_CHECK(WorkspaceSymbol)
TARNU_CHECK(DidChangeConfigurationParams)
TARNU_CHECK(DidChangeWorkspaceFoldersParams)
TARNU_CHECK(CreateFilesParams)
TARNU_CHECK(RenameFilesParams)
TARNU_CHECK(DeleteFilesParams)
TARNU_CHECK(DidChangeWatchedFilesParams)
TARNU_CHECK(ExecuteCommandParams)

#undef TARNU_CHECK

}  // namespace tarnu::lsp
