// The decoder's rules on their own: integer ranges, URLs, unions, dictionaries and index signatures, and
// the values it hands to the handlers.
#include "lsp/decode.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "lsp/feature_structures.h"
#include "lsp/structures.h"

namespace tarnu::lsp {
namespace {

template <class T>
std::optional<std::string> decode_text(const std::string& text, T& out) {
  json value = json::parse(text);
  return decode(value, out);
}

template <class T>
std::optional<std::string> error_of(const std::string& text) {
  T out{};
  return decode_text(text, out);
}

struct NumberCase {
  std::string number;
  bool fits;
};

void PrintTo(const NumberCase& c, std::ostream* out) { *out << c.number; }

class UnsignedTest : public testing::TestWithParam<NumberCase> {};

TEST_P(UnsignedTest, LineIsAnUnsigned32BitInteger) {
  const auto& c = GetParam();
  Position position;
  auto error = decode_text(R"({"line":)" + c.number + R"(,"character":0})", position);
  if (c.fits) {
    ASSERT_EQ(error, std::nullopt);
    EXPECT_EQ(std::to_string(position.line), c.number);
  } else {
    EXPECT_EQ(error, "line: expected an unsigned 32-bit integer, found " + c.number);
  }
}

INSTANTIATE_TEST_SUITE_P(Numbers, UnsignedTest,
                         testing::Values(NumberCase{"0", true}, NumberCase{"4294967295", true},
                                         NumberCase{"-1", false}, NumberCase{"4294967296", false},
                                         NumberCase{"18446744073709551615", false},
                                         NumberCase{"-9223372036854775808", false}, NumberCase{"1.5", false},
                                         NumberCase{"\"1\"", false}, NumberCase{"true", false},
                                         NumberCase{"null", false}));

class SignedTest : public testing::TestWithParam<NumberCase> {};

TEST_P(SignedTest, VersionIsASigned32BitInteger) {
  const auto& c = GetParam();
  VersionedTextDocumentIdentifier document;
  auto error = decode_text(R"({"uri":"file:///a.sim","version":)" + c.number + "}", document);
  if (c.fits) {
    ASSERT_EQ(error, std::nullopt);
    EXPECT_EQ(std::to_string(document.version), c.number);
  } else {
    EXPECT_EQ(error, "version: expected a 32-bit integer, found " + c.number);
  }
}

INSTANTIATE_TEST_SUITE_P(Numbers, SignedTest,
                         testing::Values(NumberCase{"-2147483648", true}, NumberCase{"2147483647", true},
                                         NumberCase{"0", true}, NumberCase{"-2147483649", false},
                                         NumberCase{"2147483648", false}, NumberCase{"4294967295", false},
                                         NumberCase{"-0.5", false}, NumberCase{"false", false}));

struct UriCase {
  std::string uri;
  std::optional<std::string> href;  // nothing when the text is no URL
};

void PrintTo(const UriCase& c, std::ostream* out) { *out << c.uri; }

class UriTest : public testing::TestWithParam<UriCase> {};

TEST_P(UriTest, DocumentUrisParseAsUrls) {
  const auto& c = GetParam();
  TextDocumentIdentifier document;
  auto error = decode_text(json{{"uri", c.uri}}.dump(), document);
  if (c.href) {
    ASSERT_EQ(error, std::nullopt);
    EXPECT_EQ(document.uri.href, *c.href);
  } else {
    EXPECT_EQ(error, "uri: expected a URL string, found " + json(c.uri).dump());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, UriTest,
    testing::Values(UriCase{"file:///w/a.sim", "file:///w/a.sim"}, UriCase{"FILE:///w/x/../a.sim", "file:///w/a.sim"},
                    UriCase{"file:///w/a b.sim", "file:///w/a%20b.sim"},
                    UriCase{"untitled:Untitled-1", "untitled:Untitled-1"}, UriCase{"", std::nullopt},
                    UriCase{"a.sim", std::nullopt}, UriCase{"/w/a.sim", std::nullopt},
                    UriCase{"not a url", std::nullopt}, UriCase{"http://exa mple.org/", std::nullopt}));

TEST(Unions, DescribeTheAlternativeTheValueLooksLike) {
  struct Case {
    std::string params;
    std::string error;
  };
  const std::string range = R"({"start":{"line":0,"character":0},"end":{"line":0,"character":1}})";
  const Case item_cases[] = {
      // Only one alternative is an object, so its own failure is the precise one.
      {R"({"label":"f","documentation":{"kind":"markdown"}})", "documentation.value: expected a string, found nothing"},
      {R"({"label":"f","documentation":5})", "documentation: expected a string or an object, found 5"},
      // Two object alternatives: the one whose required members the value holds more of.
      {R"({"label":"f","textEdit":{"newText":"x","insert":)" + range + "}}",
       "textEdit.replace: expected an object, found nothing"},
      {R"({"label":"f","textEdit":{"range":)" + range + R"(,"newText":5}})",
       "textEdit.newText: expected a string, found 5"},
      // A tie goes to the first alternative in the protocol's order.
      {R"({"label":"f","textEdit":{"newText":"x"}})", "textEdit.range: expected an object, found nothing"},
  };
  for (const auto& c : item_cases) EXPECT_EQ(error_of<CompletionItemToResolve>(c.params), c.error) << c.params;

  const Case action_cases[] = {
      // A literal kind tells the file operations apart.
      {R"({"title":"t","edit":{"documentChanges":[{"kind":"delete"}]}})",
       "edit.documentChanges[0].uri: expected a URL string, found nothing"},
      {R"({"title":"t","edit":{"documentChanges":[{"kind":"create","uri":"file:///b.sim","options":{"overwrite":1}}]}})",
       "edit.documentChanges[0].options.overwrite: expected a boolean, found 1"},
      {R"({"title":"t","edit":{"documentChanges":[{"textDocument":{"uri":"file:///b.sim","version":"3"},"edits":[]}]}})",
       R"(edit.documentChanges[0].textDocument.version: expected a 32-bit integer, found "3")"},
      // Alternatives that all read as an object are named once.
      {R"({"title":"t","edit":{"documentChanges":[5]}})", "edit.documentChanges[0]: expected an object, found 5"},
  };
  for (const auto& c : action_cases) EXPECT_EQ(error_of<CodeAction>(c.params), c.error) << c.params;
}

TEST(Unions, DecodeTheAlternativeThatFits) {
  const std::string range = R"({"start":{"line":0,"character":0},"end":{"line":0,"character":1}})";
  CodeAction action;
  ASSERT_EQ(decode_text(R"({"title":"t","edit":{"documentChanges":[)"
                        R"({"kind":"rename","oldUri":"file:///a.sim","newUri":"file:///b.sim"},)"
                        R"({"textDocument":{"uri":"file:///b.sim","version":null},"edits":[{"range":)" +
                            range + R"(,"newText":"x"}]},{"kind":"delete","uri":"file:///b.sim"}]}})",
                        action),
            std::nullopt);
  const auto& changes = *action.edit->documentChanges;
  ASSERT_EQ(changes.size(), 3u);
  EXPECT_EQ(std::get<RenameFile>(changes[0]).newUri.href, "file:///b.sim");
  EXPECT_EQ(std::get<TextDocumentEdit>(changes[1]).textDocument.version, std::nullopt);
  EXPECT_EQ(std::get<TextDocumentEdit>(changes[1]).edits.size(), 1u);
  EXPECT_TRUE(std::holds_alternative<DeleteFile>(changes[2]));

  CompletionItemToResolve item;
  ASSERT_EQ(decode_text(R"({"label":"f","documentation":"d","textEdit":{"newText":"g","insert":)" + range +
                            R"(,"replace":)" + range + "}}",
                        item),
            std::nullopt);
  EXPECT_EQ(std::get<std::string>(*item.documentation), "d");
  EXPECT_EQ(std::get<InsertReplaceEdit>(*item.textEdit).newText, "g");

  ParameterInformation parameter;
  ASSERT_EQ(decode_text(R"({"label":[4,9]})", parameter), std::nullopt);
  EXPECT_EQ(std::get<1>(parameter.label)[1], 9u);
  EXPECT_EQ(error_of<ParameterInformation>(R"({"label":[4]})"),
            "label: expected an array of 2 elements, found an array of 1 element");
  EXPECT_EQ(error_of<ParameterInformation>(R"({"label":[4,-9]})"),
            "label[1]: expected an unsigned 32-bit integer, found -9");
}

TEST(Dictionaries, KeysAndValuesAreChecked) {
  WorkspaceEdit edit;
  ASSERT_EQ(decode_text(R"({"changes":{"FILE:///w/x/../a.sim":[]},"changeAnnotations":{"Ab":{"label":"l"}}})", edit),
            std::nullopt);
  ASSERT_EQ(edit.changes->entries.size(), 1u);
  EXPECT_EQ(edit.changes->entries[0].first.href, "file:///w/a.sim");
  EXPECT_EQ(edit.changeAnnotations->entries[0].first, "Ab");
  EXPECT_EQ(edit.changeAnnotations->entries[0].second.label, "l");

  EXPECT_EQ(error_of<WorkspaceEdit>(R"({"changes":{"nope":[]}})"),
            R"(changes: expected a URL string as member name, found "nope")");
  EXPECT_EQ(error_of<WorkspaceEdit>(R"({"changes":{"file:///a.sim":[{"range":{"start":{"line":0,"character":0},)"
                                    R"("end":{"line":0,"character":0}},"newText":1}]}})"),
            "changes.file:///a.sim[0].newText: expected a string, found 1");
  EXPECT_EQ(error_of<WorkspaceEdit>(R"({"changeAnnotations":{"a":{"label":"l","needsConfirmation":"yes"}}})"),
            R"(changeAnnotations.a.needsConfirmation: expected a boolean, found "yes")");
}

TEST(IndexSignatures, OtherMembersOfFormattingOptionsHaveTheirOwnType) {
  FormattingOptions options;
  ASSERT_EQ(decode_text(R"({"tabSize":2,"insertSpaces":true,"trimFinalNewlines":false,"x-a":true,"x-b":-3,"x-c":"s"})",
                        options),
            std::nullopt);
  EXPECT_EQ(options.trimFinalNewlines, false);
  ASSERT_EQ(options.properties.entries.size(), 3u);  // the described members are not among them
  EXPECT_EQ(options.properties.entries[0].first, "x-a");
  EXPECT_EQ(std::get<bool>(options.properties.entries[0].second), true);
  EXPECT_EQ(std::get<Integer>(options.properties.entries[1].second), -3);
  EXPECT_EQ(std::get<std::string>(options.properties.entries[2].second), "s");

  EXPECT_EQ(error_of<FormattingOptions>(R"({"tabSize":2,"insertSpaces":true,"x":1.5})"),
            "x: expected a 32-bit integer, found 1.5");
  EXPECT_EQ(error_of<FormattingOptions>(R"({"tabSize":2,"insertSpaces":true,"x":null})"),
            "x: expected a boolean, a 32-bit integer or a string, found null");
  // A described member keeps its own type rather than the signature's.
  EXPECT_EQ(error_of<FormattingOptions>(R"({"tabSize":"2","insertSpaces":true})"),
            R"(tabSize: expected an unsigned 32-bit integer, found "2")");
}

TEST(Structures, DerivedStructuresReadTheMembersOfTheirBases) {
  ReferenceParams params;
  ASSERT_EQ(decode_text(R"({"textDocument":{"uri":"file:///a.sim"},"position":{"line":3,"character":4},)"
                        R"("workDoneToken":"w","partialResultToken":7,"context":{"includeDeclaration":true}})",
                        params),
            std::nullopt);
  EXPECT_EQ(params.textDocument.uri.href, "file:///a.sim");
  EXPECT_EQ(params.position.line, 3u);
  EXPECT_EQ(std::get<std::string>(*params.workDoneToken), "w");
  EXPECT_EQ(std::get<Integer>(*params.partialResultToken), 7);
  EXPECT_TRUE(params.context.includeDeclaration);
}

}  // namespace
}  // namespace tarnu::lsp
