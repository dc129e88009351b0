"""Documents, hover and completion over a real connection: the parts of the answers that do not depend on
the wording of the reference pages."""

import json
import unittest

import transcript
from transcript import HANDSHAKE


def log(message):
    return ('{"jsonrpc":"2.0","method":"window/logMessage","params":{"message":%s,"type":3}}'
            % json.dumps(message, ensure_ascii=False))


def did_open(uri, text):
    return json.dumps({"jsonrpc": "2.0", "method": "textDocument/didOpen", "params": {"textDocument": {
        "uri": uri, "languageId": "simplicity", "version": 1, "text": text}}})


def did_change(uri, *texts):
    return json.dumps({"jsonrpc": "2.0", "method": "textDocument/didChange", "params": {
        "textDocument": {"uri": uri, "version": 2}, "contentChanges": [{"text": text} for text in texts]}})


def request(id, method, uri, line=0, character=0, **extra):
    params = {"textDocument": {"uri": uri}, "position": {"line": line, "character": character}, **extra}
    return json.dumps({"jsonrpc": "2.0", "id": id, "method": method, "params": params})


def null_reply(id):
    return '{"jsonrpc":"2.0","result":null,"id":%d}' % id


PROGRAM = "fn main() {\r\n    let x: u8 = jet::add_8(1, 2);\r\n}\r\n"


class DocumentLogTest(unittest.TestCase):
    def test_open_and_change_are_logged_with_the_normalised_uri(self):
        transcript.run(self, HANDSHAKE + f"""
            -> {did_open("FILE:///tmp/Demo.simf", PROGRAM)}
            <- {log("File opened: file:///tmp/Demo.simf")}
            -> {did_open("file://localhost/tmp/a/../b c.simf", "")}
            <- {log("File opened: file:///tmp/b%20c.simf")}
            -> {did_change("file:///tmp/Demo.simf", "fn main() {}", "ignored")}
            <- {log("File changed: file:///tmp/Demo.simf")}
            # nothing to store, but the change is still reported
            -> {did_change("file:///tmp/Never.simf")}
            <- {log("File changed: file:///tmp/Never.simf")}
            -> {did_open("file:///tmp/Demo.simf", PROGRAM)}
            <- {log("File opened: file:///tmp/Demo.simf")}
            # closing is not handled: no log, no reply
            -> {{"jsonrpc":"2.0","method":"textDocument/didClose","params":{{"textDocument":{{"uri":"file:///tmp/Demo.simf"}}}}}}
            -> {request(2, "textDocument/hover", "file:///tmp/Unknown.simf")}
            <- {null_reply(2)}
        """)


class HoverTest(unittest.TestCase):
    def hover(self, server, id, uri, line, character):
        server.send(request(id, "textDocument/hover", uri, line, character))
        return json.loads(server.receive())

    def test_hover_answers_with_a_markdown_page_or_null(self):
        server = transcript.start(self)
        transcript.play(self, server, HANDSHAKE + f"""
            -> {did_open("FILE:///tmp/Hover.simf", PROGRAM)}
            <- {log("File opened: file:///tmp/Hover.simf")}
        """)
        # Looked up under another spelling of the same URI.
        uri = "file:///tmp/Hover.simf"
        on_words = [(0, 0), (0, 4), (1, 4), (1, 20)]
        for number, (line, character) in enumerate(on_words, 10):
            with self.subTest(line=line, character=character):
                reply = self.hover(server, number, uri, line, character)
                self.assertEqual(reply["id"], number)
                result = reply["result"]
                self.assertEqual(list(result), ["contents"], "no range, nothing else")
                self.assertEqual(list(result["contents"]), ["kind", "value"])
                self.assertEqual(result["contents"]["kind"], "markdown")
                self.assertTrue(result["contents"]["value"].strip())
        # Not on a word, or outside the text; the carriage returns are not part of the lines.
        nowhere = [(0, 2), (0, 11), (0, 12), (1, 10), (2, 0), (2, 1), (3, 0), (99, 0)]
        for number, (line, character) in enumerate(nowhere, 20):
            with self.subTest(line=line, character=character):
                self.assertEqual(self.hover(server, number, uri, line, character), json.loads(null_reply(number)))
        transcript.finish(self, server)


class CompletionTest(unittest.TestCase):
    FIRST = b'{"detail":"variable keyword","label":"const"}'
    LAST = b'{"detail":"Return type: unit (void)","label":"-> ()"}'

    def test_the_catalogue_whatever_the_request(self):
        server = transcript.start(self)
        transcript.play(self, server, HANDSHAKE + f"""
            -> {did_open("file:///tmp/c.simf", "fn main() {}")}
            <- {log("File opened: file:///tmp/c.simf")}
        """)
        requests = [
            request(2, "textDocument/completion", "file:///tmp/c.simf", 0, 3),
            request(3, "textDocument/completion", "file:///tmp/never-opened.simf"),
            request(4, "textDocument/completion", "file:///tmp/c.simf", 40, 7,
                    context={"triggerKind": 2, "triggerCharacter": "."}),
        ]
        results = set()
        for id, message in enumerate(requests, 2):
            server.send(message)
            body = server.receive()
            prefix, suffix = b'{"jsonrpc":"2.0","result":[', b'],"id":%d}' % id
            self.assertTrue(body.startswith(prefix) and body.endswith(suffix), body[:200])
            results.add(body[len(prefix) - 1:-len(suffix) + 1])
        self.assertEqual(len(results), 1, "every request gets the same list")
        result = results.pop()
        self.assertTrue(result.startswith(b"[" + self.FIRST + b","))
        self.assertTrue(result.endswith(b"," + self.LAST + b"]"))
        items = json.loads(result, object_pairs_hook=lambda pairs: pairs)
        self.assertEqual(len(items), 73)
        self.assertEqual({tuple(name for name, _ in item) for item in items}, {("detail", "label")})
        items = [dict(item) for item in items]
        self.assertEqual(len({item["label"] for item in items}), 73, "labels are unique")
        by_label = {item["label"]: item["detail"] for item in items}
        self.assertEqual(by_label["const"], by_label["let"])
        self.assertEqual([item["label"] for item in items if item["label"].startswith("[u8;")],
                         ["[u8; 32]", "[u8; 64]", "[u8; 16]"])
        transcript.finish(self, server)


if __name__ == "__main__":
    unittest.main()
