"""The handshake and the lifecycle of a connection, as an editor sees them through the launcher."""

import unittest

import transcript
from transcript import GREETING, HANDSHAKE, INITIALIZE_RESULT

HOVER = '"method":"textDocument/hover","params":{"textDocument":{"uri":"file:///tmp/a.simf"},"position":{"line":0,"character":0}}'
DID_OPEN = ('{"jsonrpc":"2.0","method":"textDocument/didOpen","params":{"textDocument":'
            '{"uri":"file:///tmp/a.simf","languageId":"simplicity","version":1,"text":"fn main() {}\\n"}}}')
DID_CHANGE = ('{"jsonrpc":"2.0","method":"textDocument/didChange","params":{"textDocument":'
              '{"uri":"file:///tmp/a.simf","version":2},"contentChanges":[{"text":"fn main() {}\\n"}]}}')

NOT_INITIALIZED_ERROR = '{"code":-32002,"message":"Server not initialized"}'
INVALID_REQUEST_ERROR = '{"code":-32600,"message":"Invalid request"}'

FULL_INITIALIZE_PARAMS = (
    '{"processId":4242,"clientInfo":{"name":"Some Editor","version":"1.2.3"},"locale":"en-gb",'
    '"rootPath":"/home/user/project","rootUri":"file:///home/user/project",'
    '"initializationOptions":{"anything":[1,2,{"x":null}]},'
    '"capabilities":{'
    '"workspace":{"applyEdit":true,"workspaceEdit":{"documentChanges":true},'
    '"didChangeConfiguration":{"dynamicRegistration":true},"workspaceFolders":true,"configuration":true},'
    '"textDocument":{"synchronization":{"dynamicRegistration":true,"willSave":true,"willSaveWaitUntil":true,'
    '"didSave":true},"completion":{"dynamicRegistration":true,"completionItem":{"snippetSupport":true,'
    '"commitCharactersSupport":true,"documentationFormat":["markdown","plaintext"],"deprecatedSupport":true,'
    '"preselectSupport":true},"contextSupport":true},"hover":{"dynamicRegistration":true,'
    '"contentFormat":["markdown","plaintext"]},"publishDiagnostics":{"relatedInformation":true}},'
    '"window":{"workDoneProgress":true},"general":{"positionEncodings":["utf-16"]}},'
    '"trace":"off","workspaceFolders":[{"uri":"file:///home/user/project","name":"project"}]}'
)


class HandshakeTest(unittest.TestCase):
    def test_initialize_result_is_exact_whatever_the_client_says(self):
        for name, params in [("minimal", '{"processId":null,"rootUri":null,"capabilities":{}}'),
                             ("full", FULL_INITIALIZE_PARAMS)]:
            with self.subTest(name):
                transcript.run(self, f"""
                    -> {{"jsonrpc":"2.0","id":1,"method":"initialize","params":{params}}}
                    <- {{"jsonrpc":"2.0","result":{INITIALIZE_RESULT},"id":1}}
                    -> {{"jsonrpc":"2.0","method":"initialized","params":{{}}}}
                    <- {GREETING}
                """)

    def test_shutdown_then_exit_ends_the_session_cleanly(self):
        transcript.run(self, HANDSHAKE + """
            -> {"jsonrpc":"2.0","id":2,"method":"shutdown"}
            <- {"jsonrpc":"2.0","result":null,"id":2}
            -> {"jsonrpc":"2.0","method":"exit"}
        """)

    def test_input_ending_without_shutdown_is_a_normal_end(self):
        transcript.run(self, HANDSHAKE)


class LifecycleTest(unittest.TestCase):
    ROWS = {
        "before initialize": f"""
            -> {{"jsonrpc":"2.0","id":11,{HOVER}}}
            <- {{"jsonrpc":"2.0","error":{NOT_INITIALIZED_ERROR},"id":11}}
            # dropped, so the hover after the handshake finds nothing
            -> {DID_OPEN}
            -> {{"jsonrpc":"2.0","id":12,"method":"foo/bar","params":{{}}}}
            <- {{"jsonrpc":"2.0","error":{{"code":-32601,"message":"Method not found","data":"foo/bar"}},"id":12}}
            -> {{"jsonrpc":"2.0","id":13,"method":"shutdown"}}
            <- {{"jsonrpc":"2.0","error":{NOT_INITIALIZED_ERROR},"id":13}}
            {HANDSHAKE}
            -> {{"jsonrpc":"2.0","id":14,{HOVER}}}
            <- {{"jsonrpc":"2.0","result":null,"id":14}}
        """,
        "exit before initialize is accepted": """
            -> {"jsonrpc":"2.0","method":"exit"}
            -> {"jsonrpc":"2.0","id":1,"method":"initialize","params":{"processId":null,"rootUri":null,"capabilities":{}}}
            -- ends
        """,
        "after shutdown": HANDSHAKE + f"""
            -> {{"jsonrpc":"2.0","id":2,"method":"shutdown"}}
            <- {{"jsonrpc":"2.0","result":null,"id":2}}
            -> {{"jsonrpc":"2.0","id":3,{HOVER}}}
            <- {{"jsonrpc":"2.0","error":{INVALID_REQUEST_ERROR},"id":3}}
            # dropped: no "File changed" log comes with the reply to the second shutdown
            -> {DID_CHANGE}
            -> {{"jsonrpc":"2.0","id":4,"method":"shutdown"}}
            <- {{"jsonrpc":"2.0","error":{INVALID_REQUEST_ERROR},"id":4}}
            -> {{"jsonrpc":"2.0","id":5,"method":"foo/bar","params":{{}}}}
            <- {{"jsonrpc":"2.0","error":{{"code":-32601,"message":"Method not found","data":"foo/bar"}},"id":5}}
            -> {{"jsonrpc":"2.0","method":"exit"}}
        """,
        "second initialize": HANDSHAKE + f"""
            -> {{"jsonrpc":"2.0","id":2,"method":"initialize","params":{{"processId":null,"rootUri":null,"capabilities":{{}}}}}}
            <- {{"jsonrpc":"2.0","error":{INVALID_REQUEST_ERROR},"id":2}}
            -> {{"jsonrpc":"2.0","id":3,{HOVER}}}
            <- {{"jsonrpc":"2.0","result":null,"id":3}}
        """,
        "initialize without params leaves the server uninitialized": f"""
            -> {{"jsonrpc":"2.0","id":1,"method":"initialize"}}
            <- {{"jsonrpc":"2.0","error":{{"code":-32602,"message":"Missing params field"}},"id":1}}
            -> {{"jsonrpc":"2.0","id":2,{HOVER}}}
            <- {{"jsonrpc":"2.0","error":{NOT_INITIALIZED_ERROR},"id":2}}
            {HANDSHAKE}
        """,
        "shutdown with null params is refused but still shuts down": HANDSHAKE + f"""
            -> {{"jsonrpc":"2.0","id":2,"method":"shutdown","params":null}}
            <- {{"jsonrpc":"2.0","error":{{"code":-32602,"message":"Unexpected params: null"}},"id":2}}
            -> {{"jsonrpc":"2.0","id":3,{HOVER}}}
            <- {{"jsonrpc":"2.0","error":{INVALID_REQUEST_ERROR},"id":3}}
        """,
        "shutdown as a notification shuts down without a reply": HANDSHAKE + f"""
            -> {{"jsonrpc":"2.0","method":"shutdown"}}
            -> {{"jsonrpc":"2.0","id":3,{HOVER}}}
            <- {{"jsonrpc":"2.0","error":{INVALID_REQUEST_ERROR},"id":3}}
        """,
        "exit with an id gets no reply": HANDSHAKE + """
            -> {"jsonrpc":"2.0","id":2,"method":"exit"}
        """,
        "the first message after exit ends the connection unanswered": HANDSHAKE + """
            -> {"jsonrpc":"2.0","method":"exit"}
            -> {"jsonrpc":"2.0","id":2,"method":"shutdown"}
            -- ends
        """,
        "initialized without params sends no greeting": f"""
            -> {{"jsonrpc":"2.0","id":1,"method":"initialize","params":{{"processId":null,"rootUri":null,"capabilities":{{}}}}}}
            <- {{"jsonrpc":"2.0","result":{INITIALIZE_RESULT},"id":1}}
            -> {{"jsonrpc":"2.0","method":"initialized"}}
            -> {{"jsonrpc":"2.0","id":2,{HOVER}}}
            <- {{"jsonrpc":"2.0","result":null,"id":2}}
        """,
    }

    def test_rows(self):
        for name, text in self.ROWS.items():
            with self.subTest(name):
                transcript.run(self, text)


if __name__ == "__main__":
    unittest.main()
