// Every method of the table against its parameter structure: well-formed parameters get the method's
// normal answer, parameters with a required member left out or of the wrong type get the description
// that the editor sees as InvalidParams.
#include <gtest/gtest.h>

#include <cctype>
#include <initializer_list>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <variant>

#include <asio/co_spawn.hpp>
#include <asio/io_context.hpp>

#include "lsp/language_server.h"
#include "lsp/methods.h"

namespace tarnu::lsp {
namespace {

using jsonrpc::json;

// Counts the operations it is asked to do; the methods the server does not implement must ask none.
class CountingServer : public LanguageServer {
 public:
  int calls = 0;

  asio::awaitable<InitializeResult> initialize(InitializeParams) override {
    ++calls;
    co_return InitializeResult{};
  }
  asio::awaitable<void> initialized(InitializedParams) override {
    ++calls;
    co_return;
  }
  asio::awaitable<void> shutdown() override {
    ++calls;
    co_return;
  }
  asio::awaitable<void> did_open(DidOpenTextDocumentParams) override {
    ++calls;
    co_return;
  }
  asio::awaitable<void> did_change(DidChangeTextDocumentParams) override {
    ++calls;
    co_return;
  }
  asio::awaitable<std::optional<Hover>> hover(HoverParams) override {
    ++calls;
    co_return std::nullopt;
  }
  asio::awaitable<std::vector<CompletionItem>> completion(CompletionParams) override {
    ++calls;
    co_return std::vector<CompletionItem>{};
  }
};

Outcome run(asio::awaitable<Outcome> work) {
  asio::io_context context;
  std::optional<Outcome> outcome;
  asio::co_spawn(context, std::move(work), [&](std::exception_ptr failure, Outcome value) {
    if (failure) std::rethrow_exception(failure);
    outcome = std::move(value);
  });
  context.run();
  return std::move(*outcome);
}

// The answer to `params`, or the description of why they do not fit.
std::variant<Outcome, std::string> answer(CountingServer& server, std::string_view method, const std::string& params) {
  const Method* found = find_method(method);
  std::optional<json> value = json::parse(params);
  if (method == "$/cancelRequest") {  // served by the connection itself
    auto decoded = decode_cancel_params(value);
    if (auto* description = std::get_if<std::string>(&decoded)) return *description;
    return Outcome(json(nullptr));
  }
  auto bound = found->bind(server, value);
  if (auto* description = std::get_if<std::string>(&bound)) return *description;
  return run(std::move(std::get<asio::awaitable<Outcome>>(bound)));
}

std::string object(std::initializer_list<std::string_view> members) {
  std::string text = "{";
  for (auto m : members) {
    if (text.size() > 1) text += ',';
    text += m;
  }
  return text + "}";
}

const std::string td = R"("textDocument":{"uri":"file:///w/a.sim"})";
const std::string pos = R"("position":{"line":1,"character":2})";
const std::string range = R"({"start":{"line":0,"character":0},"end":{"line":0,"character":3}})";
const std::string item = R"({"name":"f","kind":12,"uri":"file:///w/a.sim","range":)" + range +
                         R"(,"selectionRange":)" + range + "}";
const std::string options = R"("options":{"tabSize":4,"insertSpaces":true})";

enum class Answer {
  not_found,   // an unimplemented request: MethodNotFound without data
  no_effect,   // an unimplemented notification: nothing happens
  handled,     // the server's own operation runs
  connection,  // served by the connection ($/cancelRequest)
};

struct MethodCase {
  std::string_view method;
  MethodKind kind;
  Answer answer;
  std::string valid;
  std::string missing;  // empty when the structure has no required member
  std::string missing_error;
  std::string wrong;
  std::string wrong_error;
};

void PrintTo(const MethodCase& c, std::ostream* out) { *out << c.method; }

constexpr auto request = MethodKind::request;
constexpr auto notification = MethodKind::notification;

const MethodCase method_cases[] = {
    {"initialize", request, Answer::handled,
     R"({"processId":null,"rootUri":null,"capabilities":{}})",
     R"({"processId":1,"rootUri":null})", "capabilities: expected an object, found nothing",
     R"({"processId":1,"rootUri":null,"capabilities":[]})", "capabilities: expected an object, found an array"},
    {"initialized", notification, Answer::handled, "{}", "", "",
     "[]", "params: expected an object, found an array"},
    {"$/cancelRequest", notification, Answer::connection, R"({"id":"7"})",
     "{}", "id: expected a 32-bit integer or a string, found nothing",
     R"({"id":true})", "id: expected a 32-bit integer or a string, found true"},
    {"textDocument/didOpen", notification, Answer::handled,
     R"({"textDocument":{"uri":"file:///w/a.sim","languageId":"simplicity","version":1,"text":""}})",
     R"({"textDocument":{"uri":"file:///w/a.sim","languageId":"simplicity","version":1}})",
     "textDocument.text: expected a string, found nothing",
     R"({"textDocument":{"uri":"file:///w/a.sim","languageId":"simplicity","version":"1","text":""}})",
     R"(textDocument.version: expected a 32-bit integer, found "1")"},
    {"textDocument/didChange", notification, Answer::handled,
     R"({"textDocument":{"uri":"file:///w/a.sim","version":2},"contentChanges":[{"text":"x"}]})",
     R"({"textDocument":{"uri":"file:///w/a.sim","version":2}})", "contentChanges: expected an array, found nothing",
     R"({"textDocument":{"uri":"file:///w/a.sim","version":2},"contentChanges":[{"range":"all","text":"x"}]})",
     R"(contentChanges[0].range: expected an object, found "all")"},
    {"textDocument/willSave", notification, Answer::no_effect, object({td, R"("reason":1)"}),
     object({td}), "reason: expected an unsigned 32-bit integer, found nothing",
     object({td, R"("reason":-1)"}), "reason: expected an unsigned 32-bit integer, found -1"},
    {"textDocument/willSaveWaitUntil", request, Answer::not_found, object({td, R"("reason":2)"}),
     R"({"reason":2})", "textDocument: expected an object, found nothing",
     object({td, R"("reason":"manual")"}), R"(reason: expected an unsigned 32-bit integer, found "manual")"},
    {"textDocument/didSave", notification, Answer::no_effect, object({td}),
     "{}", "textDocument: expected an object, found nothing",
     object({td, R"("text":5)"}), "text: expected a string, found 5"},
    {"textDocument/didClose", notification, Answer::no_effect, object({td}),
     R"({"textDocument":{}})", "textDocument.uri: expected a URL string, found nothing",
     R"({"textDocument":"file:///w/a.sim"})", R"(textDocument: expected an object, found "file:///w/a.sim")"},
    {"textDocument/hover", request, Answer::handled, object({td, pos}),
     object({td}), "position: expected an object, found nothing",
     object({td, R"("position":{"line":1,"character":1.5})"}),
     "position.character: expected an unsigned 32-bit integer, found 1.5"},
    {"textDocument/completion", request, Answer::handled, object({td, pos}),
     object({td, pos, R"("context":{})"}), "context.triggerKind: expected an unsigned 32-bit integer, found nothing",
     object({td, pos, R"("partialResultToken":{})"}),
     "partialResultToken: expected a 32-bit integer or a string, found an object"},
    {"completionItem/resolve", request, Answer::not_found, R"({"label":"fn"})",
     R"({"kind":3})", "label: expected a string, found nothing",
     R"({"label":"fn","documentation":{"kind":"markdown","value":1}})",
     "documentation.value: expected a string, found 1"},
    {"textDocument/declaration", request, Answer::not_found, object({td, pos}),
     object({pos}), "textDocument: expected an object, found nothing",
     object({td, pos, R"("workDoneToken":true)"}), "workDoneToken: expected a 32-bit integer or a string, found true"},
    {"textDocument/definition", request, Answer::not_found, object({td, pos}),
     object({td}), "position: expected an object, found nothing",
     object({td, R"("position":{"line":-1,"character":0})"}),
     "position.line: expected an unsigned 32-bit integer, found -1"},
    {"textDocument/typeDefinition", request, Answer::not_found, object({td, pos}),
     R"({"textDocument":{"url":"file:///w/a.sim"},"position":{"line":1,"character":2}})",
     "textDocument.uri: expected a URL string, found nothing",
     object({R"("textDocument":{"uri":"not a url"})", pos}),
     R"(textDocument.uri: expected a URL string, found "not a url")"},
    {"textDocument/implementation", request, Answer::not_found, object({td, pos}),
     object({td, R"("position":{"line":1})"}), "position.character: expected an unsigned 32-bit integer, found nothing",
     object({td, pos, R"("partialResultToken":2147483648)"}),
     "partialResultToken: expected a 32-bit integer, found 2147483648"},
    {"textDocument/references", request, Answer::not_found,
     object({td, pos, R"("context":{"includeDeclaration":true})"}),
     object({td, pos, R"("context":{})"}), "context.includeDeclaration: expected a boolean, found nothing",
     object({td, pos, R"("context":{"includeDeclaration":1})"}), "context.includeDeclaration: expected a boolean, found 1"},
    {"textDocument/prepareCallHierarchy", request, Answer::not_found, object({td, pos}),
     object({td}), "position: expected an object, found nothing",
     object({td, R"("position":[1,2])"}), "position: expected an object, found an array"},
    {"callHierarchy/incomingCalls", request, Answer::not_found, R"({"item":)" + item + "}",
     R"({"item":{"name":"f","kind":12,"uri":"file:///w/a.sim","range":)" + range + "}}",
     "item.selectionRange: expected an object, found nothing",
     R"({"item":{"name":"f","kind":"function","uri":"file:///w/a.sim","range":)" + range + "}}",
     R"(item.kind: expected an unsigned 32-bit integer, found "function")"},
    {"callHierarchy/outgoingCalls", request, Answer::not_found, R"({"item":)" + item + "}",
     "{}", "item: expected an object, found nothing",
     R"({"item":{"name":"f","kind":12,"tags":[1,-1],"uri":"file:///w/a.sim","range":)" + range +
         R"(,"selectionRange":)" + range + "}}",
     "item.tags[1]: expected an unsigned 32-bit integer, found -1"},
    {"textDocument/prepareTypeHierarchy", request, Answer::not_found, object({td, pos}),
     "{}", "textDocument: expected an object, found nothing",
     object({R"("textDocument":{"uri":5})", pos}), "textDocument.uri: expected a URL string, found 5"},
    {"typeHierarchy/supertypes", request, Answer::not_found, R"({"item":)" + item + "}",
     R"({"item":{"kind":5,"uri":"file:///w/a.sim","range":)" + range + R"(,"selectionRange":)" + range + "}}",
     "item.name: expected a string, found nothing",
     R"({"item":{"name":"f","kind":5,"uri":"relative/a.sim","range":)" + range + R"(,"selectionRange":)" + range +
         "}}",
     R"(item.uri: expected a URL string, found "relative/a.sim")"},
    {"typeHierarchy/subtypes", request, Answer::not_found, R"({"item":)" + item + "}",
     "{}", "item: expected an object, found nothing",
     R"({"item":{"name":"f","kind":5,"uri":"file:///w/a.sim","range":)" + range +
         R"(,"selectionRange":{"start":{"line":0,"character":0},"end":{"line":4294967296,"character":0}}}})",
     "item.selectionRange.end.line: expected an unsigned 32-bit integer, found 4294967296"},
    {"textDocument/documentHighlight", request, Answer::not_found, object({td, pos}),
     object({td}), "position: expected an object, found nothing",
     object({td, R"("position":null)"}), "position: expected an object, found null"},
    {"textDocument/documentLink", request, Answer::not_found, object({td}),
     "{}", "textDocument: expected an object, found nothing",
     R"({"textDocument":null})", "textDocument: expected an object, found null"},
    {"documentLink/resolve", request, Answer::not_found, R"({"range":)" + range + "}",
     R"({"target":"file:///w/b.sim"})", "range: expected an object, found nothing",
     R"({"range":)" + range + R"(,"target":"::"})", R"(target: expected a URL string, found "::")"},
    {"textDocument/codeLens", request, Answer::not_found, object({td}),
     "{}", "textDocument: expected an object, found nothing",
     object({td, R"("workDoneToken":1.5)"}), "workDoneToken: expected a 32-bit integer, found 1.5"},
    {"codeLens/resolve", request, Answer::not_found, R"({"range":)" + range + "}",
     R"({"range":)" + range + R"(,"command":{"title":"Run"}})", "command.command: expected a string, found nothing",
     R"({"range":)" + range + R"(,"command":{"title":"Run","command":"run","arguments":{}}})",
     "command.arguments: expected an array, found an object"},
    {"textDocument/foldingRange", request, Answer::not_found, object({td}),
     "{}", "textDocument: expected an object, found nothing",
     R"({"textDocument":[]})", "textDocument: expected an object, found an array"},
    {"textDocument/selectionRange", request, Answer::not_found,
     object({td, R"("positions":[{"line":0,"character":0}])"}),
     object({td}), "positions: expected an array, found nothing",
     object({td, R"("positions":[{"line":0,"character":0},{"line":0,"character":-1}])"}),
     "positions[1].character: expected an unsigned 32-bit integer, found -1"},
    {"textDocument/documentSymbol", request, Answer::not_found, object({td}),
     "{}", "textDocument: expected an object, found nothing",
     R"({"textDocument":{"uri":""}})", R"(textDocument.uri: expected a URL string, found "")"},
    {"textDocument/semanticTokens/full", request, Answer::not_found, object({td}),
     "{}", "textDocument: expected an object, found nothing",
     object({td, R"("partialResultToken":[])"}),
     "partialResultToken: expected a 32-bit integer or a string, found an array"},
    {"textDocument/semanticTokens/full/delta", request, Answer::not_found, object({td, R"("previousResultId":"1")"}),
     object({td}), "previousResultId: expected a string, found nothing",
     object({td, R"("previousResultId":1)"}), "previousResultId: expected a string, found 1"},
    {"textDocument/semanticTokens/range", request, Answer::not_found, object({td, R"("range":)" + range}),
     object({td}), "range: expected an object, found nothing",
     object({td, R"("range":{"start":{"line":0,"character":0},"end":5})"}), "range.end: expected an object, found 5"},
    {"textDocument/inlineValue", request, Answer::not_found,
     object({td, R"("range":)" + range, R"("context":{"frameId":1,"stoppedLocation":)" + range + "}"}),
     object({td, R"("range":)" + range, R"("context":{"frameId":1})"}),
     "context.stoppedLocation: expected an object, found nothing",
     object({td, R"("range":)" + range, R"("context":{"frameId":-2147483649,"stoppedLocation":)" + range + "}"}),
     "context.frameId: expected a 32-bit integer, found -2147483649"},
    {"textDocument/inlayHint", request, Answer::not_found, object({td, R"("range":)" + range}),
     object({td}), "range: expected an object, found nothing",
     object({td, R"("range":"0:0-1:0")"}), R"(range: expected an object, found "0:0-1:0")"},
    {"inlayHint/resolve", request, Answer::not_found, R"({"position":{"line":0,"character":0},"label":"x"})",
     R"({"position":{"line":0,"character":0}})", "label: expected a string or an array, found nothing",
     R"({"position":{"line":0,"character":0},"label":[{"value":"a"},{"value":1}]})",
     "label[1].value: expected a string, found 1"},
    {"textDocument/moniker", request, Answer::not_found, object({td, pos}),
     object({pos}), "textDocument: expected an object, found nothing",
     object({td, R"("position":{"line":"1","character":2})"}),
     R"(position.line: expected an unsigned 32-bit integer, found "1")"},
    {"textDocument/diagnostic", request, Answer::not_found, object({td}),
     R"({"identifier":"x"})", "textDocument: expected an object, found nothing",
     object({td, R"("identifier":1)"}), "identifier: expected a string, found 1"},
    {"workspace/diagnostic", request, Answer::not_found, R"({"previousResultIds":[]})",
     R"({"identifier":"x"})", "previousResultIds: expected an array, found nothing",
     R"({"previousResultIds":[{"uri":"file:///w/a.sim","value":1}]})",
     "previousResultIds[0].value: expected a string, found 1"},
    {"textDocument/signatureHelp", request, Answer::not_found, object({td, pos}),
     object({td, pos, R"("context":{"triggerKind":1})"}), "context.isRetrigger: expected a boolean, found nothing",
     object({td, pos,
             R"("context":{"triggerKind":1,"isRetrigger":false,"activeSignatureHelp":{"signatures":[)"
             R"j({"label":"f(a, b)","parameters":[{"label":[2,3,4]}]}]}})j"}),
     "context.activeSignatureHelp.signatures[0].parameters[0].label: expected an array of 2 elements, "
     "found an array of 3 elements"},
    {"textDocument/codeAction", request, Answer::not_found,
     object({td, R"("range":)" + range, R"("context":{"diagnostics":[]})"}),
     object({td, R"("range":)" + range, R"("context":{})"}), "context.diagnostics: expected an array, found nothing",
     object({td, R"("range":)" + range, R"("context":{"diagnostics":[{"range":)" + range + R"(,"message":"m","code":1.5}]})"}),
     "context.diagnostics[0].code: expected a 32-bit integer, found 1.5"},
    {"codeAction/resolve", request, Answer::not_found, R"({"title":"Fix"})",
     R"({"kind":"quickfix"})", "title: expected a string, found nothing",
     R"({"title":"Fix","edit":{"documentChanges":[{"kind":"rename","oldUri":"file:///w/a.sim","newUri":5}]}})",
     "edit.documentChanges[0].newUri: expected a URL string, found 5"},
    {"textDocument/documentColor", request, Answer::not_found, object({td}),
     "{}", "textDocument: expected an object, found nothing",
     R"({"textDocument":{"uri":null}})", "textDocument.uri: expected a URL string, found null"},
    {"textDocument/colorPresentation", request, Answer::not_found,
     object({td, R"("color":{"red":1,"green":0.5,"blue":0,"alpha":1})", R"("range":)" + range}),
     object({td, R"("color":{"red":1,"green":0.5,"blue":0})", R"("range":)" + range}),
     "color.alpha: expected a number, found nothing",
     object({td, R"("color":{"red":"1","green":0.5,"blue":0,"alpha":1})", R"("range":)" + range}),
     R"(color.red: expected a number, found "1")"},
    {"textDocument/formatting", request, Answer::not_found, object({td, options}),
     object({td, R"("options":{"tabSize":4})"}), "options.insertSpaces: expected a boolean, found nothing",
     object({td, R"("options":{"tabSize":-4,"insertSpaces":true})"}),
     "options.tabSize: expected an unsigned 32-bit integer, found -4"},
    {"textDocument/rangeFormatting", request, Answer::not_found, object({td, R"("range":)" + range, options}),
     object({td, options}), "range: expected an object, found nothing",
     object({td, R"("range":)" + range, R"("options":{"tabSize":4,"insertSpaces":true,"editorconfig":{}})"}),
     "options.editorconfig: expected a boolean, a 32-bit integer or a string, found an object"},
    {"textDocument/onTypeFormatting", request, Answer::not_found, object({td, pos, R"("ch":";")", options}),
     object({td, pos, options}), "ch: expected a string, found nothing",
     object({td, pos, R"("ch":59)", options}), "ch: expected a string, found 59"},
    {"textDocument/rename", request, Answer::not_found, object({td, pos, R"("newName":"g")"}),
     object({td, pos}), "newName: expected a string, found nothing",
     object({td, pos, R"("newName":null)"}), "newName: expected a string, found null"},
    {"textDocument/prepareRename", request, Answer::not_found, object({td, pos}),
     object({td}), "position: expected an object, found nothing",
     object({td, R"("position":{"line":true,"character":0})"}),
     "position.line: expected an unsigned 32-bit integer, found true"},
    {"textDocument/linkedEditingRange", request, Answer::not_found, object({td, pos}),
     object({pos}), "textDocument: expected an object, found nothing",
     object({R"("textDocument":{"uri":"a.sim"})", pos}), R"(textDocument.uri: expected a URL string, found "a.sim")"},
    {"workspace/symbol", request, Answer::not_found, R"({"query":""})",
     "{}", "query: expected a string, found nothing",
     R"({"query":null})", "query: expected a string, found null"},
    {"workspaceSymbol/resolve", request, Answer::not_found,
     R"({"name":"f","kind":12,"location":{"uri":"file:///w/a.sim"}})",
     R"({"name":"f","kind":12})", "location: expected an object, found nothing",
     R"({"name":"f","kind":12,"location":{"uri":"nope"}})", R"(location.uri: expected a URL string, found "nope")"},
    {"workspace/didChangeConfiguration", notification, Answer::no_effect, R"({"settings":null})",
     "{}", "settings: expected any value, found nothing",
     R"("settings")", R"(params: expected an object, found "settings")"},
    {"workspace/didChangeWorkspaceFolders", notification, Answer::no_effect, R"({"event":{"added":[],"removed":[]}})",
     R"({"event":{"added":[]}})", "event.removed: expected an array, found nothing",
     R"({"event":{"added":[{"uri":"file:///w","name":1}],"removed":[]}})",
     "event.added[0].name: expected a string, found 1"},
    {"workspace/willCreateFiles", request, Answer::not_found, R"({"files":[{"uri":"file:///w/b.sim"}]})",
     R"({"files":[{}]})", "files[0].uri: expected a URL string, found nothing",
     R"({"files":{"uri":"file:///w/b.sim"}})", "files: expected an array, found an object"},
    {"workspace/didCreateFiles", notification, Answer::no_effect, R"({"files":[{"uri":"file:///w/b.sim"}]})",
     "{}", "files: expected an array, found nothing",
     R"({"files":[{"uri":"b.sim"}]})", R"(files[0].uri: expected a URL string, found "b.sim")"},
    {"workspace/willRenameFiles", request, Answer::not_found,
     R"({"files":[{"oldUri":"file:///w/a.sim","newUri":"file:///w/b.sim"}]})",
     R"({"files":[{"oldUri":"file:///w/a.sim"}]})", "files[0].newUri: expected a URL string, found nothing",
     R"({"files":[{"oldUri":"a.sim","newUri":"file:///w/b.sim"}]})",
     R"(files[0].oldUri: expected a URL string, found "a.sim")"},
    {"workspace/didRenameFiles", notification, Answer::no_effect,
     R"({"files":[{"oldUri":"file:///w/a.sim","newUri":"file:///w/b.sim"}]})",
     R"({"files":[{"newUri":"file:///w/b.sim"}]})", "files[0].oldUri: expected a URL string, found nothing",
     R"({"files":[{"oldUri":"file:///w/a.sim","newUri":false}]})", "files[0].newUri: expected a URL string, found false"},
    {"workspace/willDeleteFiles", request, Answer::not_found, R"({"files":[{"uri":"file:///w/a.sim"}]})",
     "{}", "files: expected an array, found nothing",
     R"({"files":["file:///w/a.sim"]})", R"(files[0]: expected an object, found "file:///w/a.sim")"},
    {"workspace/didDeleteFiles", notification, Answer::no_effect, R"({"files":[{"uri":"file:///w/a.sim"}]})",
     R"({"files":[{"url":"file:///w/a.sim"}]})", "files[0].uri: expected a URL string, found nothing",
     R"({"files":null})", "files: expected an array, found null"},
    {"workspace/didChangeWatchedFiles", notification, Answer::no_effect,
     R"({"changes":[{"uri":"file:///w/a.sim","type":2}]})",
     R"({"changes":[{"uri":"file:///w/a.sim"}]})", "changes[0].type: expected an unsigned 32-bit integer, found nothing",
     R"({"changes":[{"uri":"file:///w/a.sim","type":-1}]})", "changes[0].type: expected an unsigned 32-bit integer, found -1"},
    {"workspace/executeCommand", request, Answer::not_found, R"({"command":"run"})",
     R"({"arguments":[]})", "command: expected a string, found nothing",
     R"({"command":"run","arguments":"a"})", R"(arguments: expected an array, found "a")"},
};

class MethodParamsTest : public testing::TestWithParam<MethodCase> {};

TEST_P(MethodParamsTest, KnowsTheMethodAndItsKind) {
  const Method* method = find_method(GetParam().method);
  ASSERT_NE(method, nullptr);
  EXPECT_EQ(method->kind, GetParam().kind);
  EXPECT_EQ(method->params, ParamsRule::required);
  EXPECT_EQ(method->bind == nullptr, GetParam().answer == Answer::connection);
}

TEST_P(MethodParamsTest, WellFormedParamsGetTheNormalAnswer) {
  const MethodCase& c = GetParam();
  CountingServer server;
  auto outcome = answer(server, c.method, c.valid);
  ASSERT_TRUE(std::holds_alternative<Outcome>(outcome)) << std::get<std::string>(outcome);
  const Outcome& reply = std::get<Outcome>(outcome);
  switch (c.answer) {
    case Answer::not_found: {
      ASSERT_TRUE(std::holds_alternative<jsonrpc::Error>(reply));
      const auto& error = std::get<jsonrpc::Error>(reply);
      EXPECT_EQ(error.code, jsonrpc::codes::method_not_found);
      EXPECT_EQ(error.message, "Method not found");
      EXPECT_EQ(error.data, std::nullopt);
      EXPECT_EQ(server.calls, 0);
      break;
    }
    case Answer::no_effect:
    case Answer::connection:
      ASSERT_TRUE(std::holds_alternative<json>(reply));
      EXPECT_TRUE(std::get<json>(reply).is_null());
      EXPECT_EQ(server.calls, 0);
      break;
    case Answer::handled:
      EXPECT_TRUE(std::holds_alternative<json>(reply));
      EXPECT_EQ(server.calls, 1);
      break;
  }
}

TEST_P(MethodParamsTest, RequiredMemberLeftOutIsDescribed) {
  const MethodCase& c = GetParam();
  CountingServer server;
  if (c.missing.empty()) {  // nothing is required: the empty object is enough
    EXPECT_FALSE(std::holds_alternative<std::string>(answer(server, c.method, "{}")));
    return;
  }
  auto outcome = answer(server, c.method, c.missing);
  ASSERT_TRUE(std::holds_alternative<std::string>(outcome)) << "accepted";
  EXPECT_EQ(std::get<std::string>(outcome), c.missing_error);
  EXPECT_EQ(server.calls, 0);
}

TEST_P(MethodParamsTest, MemberOfTheWrongTypeIsDescribed) {
  const MethodCase& c = GetParam();
  CountingServer server;
  auto outcome = answer(server, c.method, c.wrong);
  ASSERT_TRUE(std::holds_alternative<std::string>(outcome)) << "accepted";
  EXPECT_EQ(std::get<std::string>(outcome), c.wrong_error);
  EXPECT_EQ(server.calls, 0);
}

INSTANTIATE_TEST_SUITE_P(AllMethods, MethodParamsTest, testing::ValuesIn(method_cases),
                         [](const testing::TestParamInfo<MethodCase>& info) {
                           std::string name;
                           for (char ch : info.param.method) name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                           return name;
                         });

// With the lifecycle methods that take no structure, the table above covers every method.
TEST(MethodTable, ShutdownAndExitTakeNoStructure) {
  ASSERT_NE(find_method("shutdown"), nullptr);
  EXPECT_EQ(find_method("shutdown")->params, ParamsRule::none);
  EXPECT_EQ(find_method("shutdown")->kind, MethodKind::request);
  ASSERT_NE(find_method("exit"), nullptr);
  EXPECT_EQ(find_method("exit")->params, ParamsRule::ignored);
  EXPECT_EQ(find_method("exit")->kind, MethodKind::notification);
  EXPECT_EQ(std::size(method_cases) + 2, 65u);
  EXPECT_EQ(find_method("textDocument/didRename"), nullptr);
}

// Parameters that the protocol allows although they go beyond the minimum: optional members present or
// null, values admitted by unions, enumeration values of newer protocol versions, members the protocol
// does not define, and anything where it says LSPAny.
struct Allowed {
  std::string_view method;
  std::string params;
};

void PrintTo(const Allowed& a, std::ostream* out) { *out << a.method << ' ' << a.params; }

const Allowed allowed_cases[] = {
    {"initialize", R"({"capabilities":{}})"},
    {"initialize",
     R"({"processId":4,"clientInfo":{"name":"ed"},"rootPath":null,"rootUri":"file:///w","capabilities":)"
     R"({"textDocument":{"hover":{"contentFormat":5}},"experimental":[1]},"initializationOptions":[1],)"
     R"("trace":"verbose","workspaceFolders":null,"workDoneToken":"t","x-vendor":{"a":1}})"},
    {"textDocument/hover", object({td, pos, R"("workDoneToken":null)"})},
    {"textDocument/didSave", object({td, R"("text":null)"})},
    {"textDocument/willSave", object({td, R"("reason":99)"})},
    {"workspace/didChangeWatchedFiles", R"({"changes":[{"uri":"file:///w/a.sim","type":7}]})"},
    {"textDocument/references",
     object({td, pos, R"("context":{"includeDeclaration":false})", R"("workDoneToken":"w","partialResultToken":3)"})},
    {"callHierarchy/incomingCalls",
     R"({"item":{"name":"f","kind":1000,"tags":[42],"detail":"d","uri":"file:///w/a.sim","range":)" + range +
         R"(,"selectionRange":)" + range + R"(,"data":{"any":[null]}},"partialResultToken":"p"})"},
    {"completionItem/resolve",
     R"j({"label":"f","labelDetails":{"detail":"()"},"kind":99,"tags":[7],"documentation":"plain",)j"
     R"("insertTextFormat":3,"insertTextMode":9,"textEdit":{"newText":"f","insert":)" + range + R"(,"replace":)" +
         range + R"(},"additionalTextEdits":[{"range":)" + range +
         R"(,"newText":""}],"commitCharacters":["("],"command":{"title":"t","command":"c"},"data":5})"},
    {"completionItem/resolve", R"({"label":"f","documentation":{"kind":"asciidoc","value":"x"},"textEdit":{"range":)" +
                                   range + R"(,"newText":"f"}})"},
    {"inlayHint/resolve",
     R"({"position":{"line":0,"character":0},"label":[{"value":"a","tooltip":{"kind":"markdown","value":"v"},)"
     R"("location":{"uri":"file:///w/a.sim","range":)" + range +
         R"(},"command":{"title":"t","command":"c","arguments":[]}}],"kind":3,"tooltip":"t","paddingLeft":true})"},
    {"codeAction/resolve",
     R"({"title":"Fix","kind":"quickfix.custom","isPreferred":true,"disabled":{"reason":"r"},"edit":{)"
     R"("changes":{"file:///w/a.sim":[{"range":)" + range + R"(,"newText":"x"}]},)"
     R"("documentChanges":[{"textDocument":{"uri":"file:///w/a.sim","version":null},"edits":[{"range":)" + range +
         R"(,"newText":"x","annotationId":"a"}]},{"kind":"create","uri":"file:///w/b.sim","options":{"overwrite":true}},)"
         R"({"kind":"rename","oldUri":"file:///w/b.sim","newUri":"file:///w/c.sim"},)"
         R"({"kind":"delete","uri":"file:///w/c.sim","options":{"recursive":true}}],)"
         R"("changeAnnotations":{"a":{"label":"l","needsConfirmation":false}}},"data":[1]})"},
    {"textDocument/codeAction",
     object({td, R"("range":)" + range,
             R"("context":{"diagnostics":[{"range":)" + range +
                 R"(,"severity":9,"code":"E1","codeDescription":{"href":"https://example.org/E1"},)"
                 R"("source":"s","message":"m","tags":[1,5],"relatedInformation":[{"location":{"uri":"file:///w/b.sim","range":)" +
                 range + R"(},"message":"here"}],"data":{}}],"only":["refactor"],"triggerKind":3})"})},
    {"textDocument/signatureHelp",
     object({td, pos,
             R"("context":{"triggerKind":4,"triggerCharacter":"(","isRetrigger":true,"activeSignatureHelp":)"
             R"j({"signatures":[{"label":"f(a, b)","documentation":"d","parameters":[{"label":[2,3]},{"label":"b"}],)j"
             R"("activeParameter":1}],"activeSignature":0}})"})},
    {"textDocument/rangeFormatting",
     object({td, R"("range":)" + range,
             R"("options":{"tabSize":2,"insertSpaces":false,"trimFinalNewlines":true,"x-flag":true,"x-width":80,"x-style":"k&r"})"})},
    {"workspaceSymbol/resolve",
     R"({"name":"f","kind":12,"tags":[1],"containerName":"m","location":{"uri":"file:///w/a.sim","range":)" + range + "}}"},
    {"workspace/executeCommand", R"({"command":"run","arguments":[1,"x",null,{},[]],"workDoneToken":1})"},
    {"workspace/didChangeConfiguration", R"({"settings":{"tarnu":[1]}})"},
    {"workspace/didChangeConfiguration", R"({"settings":5})"},
    {"workspace/diagnostic", R"({"identifier":"i","previousResultIds":[{"uri":"file:///w/a.sim","value":"v"}]})"},
};

class AllowedParamsTest : public testing::TestWithParam<Allowed> {};

TEST_P(AllowedParamsTest, Fit) {
  CountingServer server;
  auto outcome = answer(server, GetParam().method, GetParam().params);
  EXPECT_TRUE(std::holds_alternative<Outcome>(outcome)) << std::get<std::string>(outcome);
}

INSTANTIATE_TEST_SUITE_P(BeyondTheMinimum, AllowedParamsTest, testing::ValuesIn(allowed_cases));

}  // namespace
}  // namespace tarnu::lsp
